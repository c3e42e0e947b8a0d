#include "cli/stderr_progress.h"

#include "cli/report.h"

void StderrProgress::progress(const QString &text)
{
    if (!quiet)
        printErr(text + QLatin1Char('\n'));
}
