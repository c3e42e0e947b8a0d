#include "app/status_progress.h"

#include <QApplication>
#include <QStatusBar>

void StatusProgress::progress(const QString &text)
{
    statusBar->showMessage(text);
    statusBar->repaint();
}

void StatusProgress::waitBegins()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void StatusProgress::waitEnds()
{
    QApplication::restoreOverrideCursor();
}
