// velorix-cli: the reader's configuration without a window, for technicians'
// scripts and configuration tools. Qt Core only.
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/every_reader.h"
#include "cli/exit_codes.h"
#include "cli/report.h"

#include <QStringList>

namespace {
int run(const CliOptions &options, Report &report)
{
    switch (options.command) {
    case CliCommand::Read:
        return runRead(options, report);
    case CliCommand::Write:
        return runWrite(options, report);
    case CliCommand::Apply:
        return runApply(options, report);
    case CliCommand::Serial:
        return runSerial(options, report);
    case CliCommand::Firmware:
        return runFirmware(options, report);
    case CliCommand::Info:
        return runInfo(options, report);
    case CliCommand::Show:
        return runShow(options, report);
    case CliCommand::Diff:
        return runDiff(options, report);
    case CliCommand::Watch:
        return runWatch(options, report);
    case CliCommand::Set:
        return runSet(options, report);
    case CliCommand::Convert:
        return runConvert(options, report);
    case CliCommand::List:
        return runList(options, report);
    }
    return EXIT_USAGE;
}
} // namespace

int main(int argc, char *argv[])
{
    // No application object: nothing here needs an event loop, and a
    // technician's script pays for every millisecond of start-up.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    switch (parsed.outcome) {
    case ParsedCommandLine::Help:
        printOut(helpText());
        return EXIT_OK;
    case ParsedCommandLine::Version:
        printOut(QStringLiteral("velorix-cli %1\n").arg(QStringLiteral(VELORIX_VERSION)));
        return EXIT_OK;
    case ParsedCommandLine::Usage: {
        Report report(parsed.options.json, parsed.options.commandName);
        report.fail(EXIT_USAGE, parsed.error + QString::fromUtf8("\nVeja velorix-cli --help."));
        return report.finish(EXIT_USAGE);
    }
    case ParsedCommandLine::Run:
        break;
    }
    if (parsed.options.quiet)
        silenceWarnings();
    if (parsed.options.all)
        return runOnEveryReader(parsed.options, run);
    Report report(parsed.options.json, parsed.options.commandName);
    return report.finish(run(parsed.options, report));
}
