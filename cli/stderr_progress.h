#pragma once
// Follows a reader command on standard error: the texts the window shows on
// its status bar ("Detectando leitor", "Concluído"), one per line.
#include "commands/reader_commands.h"

class StderrProgress : public CommandObserver
{
public:
    void progress(const QString &text) override;

    bool quiet = false; // -q: nothing
};
