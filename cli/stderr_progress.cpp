#include "cli/stderr_progress.h"

#include "cli/report.h"

void StderrProgress::progress(const QString &text)
{
    printErr(text + QLatin1Char('\n'));
}
