#pragma once
// Follows a reader command on the window: its progress texts on the status
// bar, painted at once because the window blocks during the waits, and the
// wait cursor while the command blocks.
#include "commands/reader_commands.h"

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
};
