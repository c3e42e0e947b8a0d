#pragma once
// -v: every frame on the wire, on standard error, one line each: the time
// since the program started, the link, port and line settings, the
// direction and the bytes in hex, and for an answer how long after its
// request it came.
#include "link/wire_trace.h"

#include <QElapsedTimer>
#include <QString>

struct LinkSession;

class WireTracer
{
public:
    WireTracer();
    WireTracer(const WireTracer &) = delete;
    WireTracer &operator=(const WireTracer &) = delete;

    // Has the session's links hand their frames here.
    void follow(LinkSession &session) const;
    // The HID reader's path for the lines that follow (empty: the first reader).
    void setHidDevice(const QString &path) { hidDevice = path; }

    // One event as its line, without the newline (for tests of the format too).
    QString line(const WireEvent &event, qint64 atMs, qint64 sinceSentMs) const;

private:
    static void record(void *context, const WireEvent *event);

    WireTrace trace;
    QElapsedTimer clock;
    qint64 lastSentMs = -1;
    QString hidDevice;
};
