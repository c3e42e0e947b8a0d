#pragma once
// The commands of velorix-cli. Each returns its exit code; what it found is
// in the report, which main() writes out.
struct CliOptions;
class Report;

int runRead(const CliOptions &options, Report &report);
int runWrite(const CliOptions &options, Report &report);
int runApply(const CliOptions &options, Report &report);
int runSerial(const CliOptions &options, Report &report);
int runFirmware(const CliOptions &options, Report &report);
int runInfo(const CliOptions &options, Report &report);
int runShow(const CliOptions &options, Report &report);
int runDiff(const CliOptions &options, Report &report);
int runWatch(const CliOptions &options, Report &report);
int runSet(const CliOptions &options, Report &report);
int runConvert(const CliOptions &options, Report &report);
int runList(const CliOptions &options, Report &report);
