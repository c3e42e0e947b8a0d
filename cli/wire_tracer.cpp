#include "cli/wire_tracer.h"

#include "cli/report.h"
#include "commands/link_session.h"
#include "config/byte_names.h"

WireTracer::WireTracer() : trace{&WireTracer::record, this}
{
    clock.start();
}

void WireTracer::follow(LinkSession &session) const
{
    session.followWire(&trace);
}

QString WireTracer::line(const WireEvent &event, qint64 atMs, qint64 sinceSentMs) const
{
    QString where;
    if (event.serial)
        where = QStringLiteral("serial %1 %2 bit/s")
                    .arg(event.device ? QString::fromLocal8Bit(event.device)
                                      : QStringLiteral("COM%1").arg(event.portNumber))
                    .arg(event.baudRate);
    else
        where = QStringLiteral("hid %1").arg(
            hidDevice.isEmpty() ? QStringLiteral("(primeiro leitor)") : hidDevice);
    const bool sent = event.direction == WIRE_SENT;
    QString text = QStringLiteral("[%1 s] %2 %3 ")
                       .arg(double(atMs) / 1000.0, 8, 'f', 3)
                       .arg(where, sent ? QStringLiteral("->") : QStringLiteral("<-"));
    text +=
        event.size != 0 ? byteHex(event.bytes, event.size) : QString::fromUtf8("(nada recebido)");
    if (!sent && sinceSentMs >= 0)
        text += QStringLiteral(" (%1 ms)").arg(sinceSentMs);
    return text;
}

void WireTracer::record(void *context, const WireEvent *event)
{
    auto *tracer = static_cast<WireTracer *>(context);
    const qint64 now = tracer->clock.elapsed();
    const qint64 since = tracer->lastSentMs < 0 ? -1 : now - tracer->lastSentMs;
    if (event->direction == WIRE_SENT)
        tracer->lastSentMs = now;
    printErr(tracer->line(*event, now, since) + QLatin1Char('\n'));
}
