#pragma once
// --all: one command run on every reader attached, one after the other. Each
// reader's result comes as the command gives it (text under a heading, or
// one JSON object of an array), then a summary line; the exit code is the
// worst of theirs.
struct CliOptions;
class Report;

using CommandRun = int (*)(const CliOptions &options, Report &report);

int runOnEveryReader(const CliOptions &options, CommandRun run);

// Of two exit codes, the one to report for both: a failure over EXIT_CHANGED
// over EXIT_OK, and of two failures the higher.
int worseExitCode(int a, int b);
