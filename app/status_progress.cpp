#include "app/status_progress.h"

#include <QApplication>
#include <QStatusBar>

namespace {
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Drops every input event, whoever sends it, for as long as it lives: the
// operator's clicks and keys during a wait are not kept for later either.
class InputDrop : public QObject
{
public:
    InputDrop() { qApp->installEventFilter(this); }
    ~InputDrop() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override { return isUserInput(event->type()); }
};

void serveWindow(void *)
{
    const InputDrop noInput;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
} // namespace

void StatusProgress::progress(const QString &text)
{
    statusBar->showMessage(text);
    statusBar->repaint();
}

void StatusProgress::waitBegins()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    previousService = platform_set_wait_service(serveWindow, nullptr, &previousContext);
}

void StatusProgress::waitEnds()
{
    platform_set_wait_service(previousService, previousContext);
    QApplication::restoreOverrideCursor();
}
