#pragma once
// What a command hands back. In text mode: its lines on standard output and
// a failure, once, on standard error. With --json: one object on standard
// output that carries the command's fields and, on failure, the error text.
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The version of the JSON results' layout, in every object as "schema":
// raised whenever a field changes its meaning or goes away, so that a
// script can tell which layout it reads.
constexpr int JSON_SCHEMA = 1;

class Report
{
public:
    Report(bool asJson, const QString &commandName) : json(asJson), command(commandName) {}

    const bool json;
    bool compact = false;       // the object on one line (after a stream of them)
    bool linesOnStderr = false; // standard output carries data (a file written to "-")
    QJsonObject data;           // the command's own fields

    void line(const QString &text) { lines << text; }

    // Records the failure (message: its number in the window's catalogue,
    // 0 for none) and returns code. Only the first failure counts.
    int fail(int code, const QString &text, int message = 0);
    // A failure with the catalogue's text, and a detail after it when given.
    int failWithMessage(int code, int message, const QString &detail = {});

    bool failed() const { return failure != 0; }
    int exitCode() const { return failure; }

    // Writes everything out; returns code (the failure's, when there was one).
    int finish(int code);
    // The JSON object finish writes, for a caller that gathers several.
    QJsonObject object(int code) const;

private:
    const QString command;
    QStringList lines;
    int failure = 0;
    QString errorText;
    int errorMessage = 0;
};

// Standard output and standard error, in UTF-8, flushed at once.
void printOut(const QString &text);
void printErr(const QString &text);

// A warning that does not stop the command, on standard error at once.
void warn(const QString &text);
// -q: warnings are not shown.
void silenceWarnings();
