#include "app/key_capture.h"

#include <QKeyEvent>

namespace {
constexpr uint8_t TAB = 0x09;
constexpr uint8_t ENTER = 0x0D;
constexpr uint8_t ESCAPE = 0x1B;
constexpr uint8_t BACKSPACE = 0x7F; // the form's "BCKSPC"
constexpr char16_t LAST_LATIN1 = 0xFF;
} // namespace

bool byteOfKey(const QKeyEvent &event, uint8_t *byte)
{
    switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        *byte = TAB;
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        *byte = ENTER;
        return true;
    case Qt::Key_Escape:
        *byte = ESCAPE;
        return true;
    case Qt::Key_Backspace:
        *byte = BACKSPACE;
        return true;
    default:
        break;
    }
    const QString text = event.text();
    if (text.size() != 1 || text.at(0).unicode() > LAST_LATIN1 || !text.at(0).isPrint())
        return false;
    *byte = uint8_t(text.at(0).unicode());
    return true;
}

KeyCapture::KeyCapture(QWidget *parent) : QLabel(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setWordWrap(true);
    setMinimumHeight(48);
}

bool KeyCapture::event(QEvent *event)
{
    // A key the reader types is data, never a menu's shortcut.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    // TAB and Shift+TAB reach keyPressEvent instead of moving the focus.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent *>(event));
        return true;
    }
    return QLabel::event(event);
}

bool KeyCapture::focusNextPrevChild(bool)
{
    return false;
}

void KeyCapture::keyPressEvent(QKeyEvent *event)
{
    uint8_t byte = 0;
    if (byteOfKey(*event, &byte))
        emit typed(byte);
    event->accept();
}
