#pragma once
// Follows a reader command on the window: its progress texts on the status
// bar, painted at once, and, while the command waits on the link, the wait
// cursor and a window that keeps painting and answering the window system
// but takes no user input.
#include "commands/reader_commands.h"
#include "platform/sleep.h"

class QStatusBar;

class StatusProgress : public CommandObserver
{
public:
    void attach(QStatusBar *bar) { statusBar = bar; }

    void progress(const QString &text) override;
    void waitBegins() override;
    void waitEnds() override;

private:
    QStatusBar *statusBar = nullptr;
    WaitService previousService = nullptr;
    void *previousContext = nullptr;
};
