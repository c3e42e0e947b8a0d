// The read test's serial view: the chosen COM port, held between commands.
#include "app/read_test_window.h"
#include "commands/link_session.h"
#include "config/config_form.h"
#include "config/read_line.h"
#include "platform/serial_device.h"

#include <QLabel>
#include <QPushButton>
#include <QSocketNotifier>

namespace {
constexpr size_t READ_SIZE = 512;
} // namespace

bool ReadTestWindow::openPort()
{
    // Again: the port and the line settings may have changed on the form.
    releasePort(QString());
    const QString port = QStringLiteral("COM%1").arg(session.com_port_number);
    const ReadLine line = readLineOf(form.record());
    if (line.baudRate == 0 || line.parity == '\0') {
        showState(QString::fromUtf8("Serial: a configuração do formulário não tem velocidade ou "
                                    "paridade da lista; a porta %1 não foi aberta.")
                      .arg(port));
        return false;
    }
    device = serial_device_open(session.com_port_number);
    heldPort = session.com_port_number;
    if (device == SERIAL_NO_DEVICE) {
        showState(QString::fromUtf8("Serial: a porta %1 não existe ou está em uso por outro "
                                    "programa.")
                      .arg(port));
        return false;
    }
    if (serial_device_configure(device, line.baudRate, line.dataBits, line.parity, line.stopBits) !=
        0) {
        releasePort(QString());
        showState(QString::fromUtf8("Serial: a porta %1 não aceitou %2.")
                      .arg(port, describeReadLine(line)));
        return false;
    }
    notifier = new QSocketNotifier(device, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &ReadTestWindow::portReadable);
    showState(QString::fromUtf8("Serial: %1 aberta, %2; aguardando leituras.")
                  .arg(port, describeReadLine(line)));
    return true;
}

void ReadTestWindow::releasePort(const QString &why)
{
    if (!portOpen())
        return;
    endRead();
    delete notifier;
    notifier = nullptr;
    serial_device_close(device);
    device = SERIAL_NO_DEVICE;
    if (!why.isEmpty())
        showState(QString::fromUtf8("Serial: a porta COM%1 foi %2; \"Abrir porta\" a toma de novo.")
                      .arg(heldPort)
                      .arg(why));
}

void ReadTestWindow::portReadable()
{
    uint8_t buffer[READ_SIZE];
    const int n = serial_device_read(device, buffer, sizeof buffer);
    // Readable but empty: the line has hung up (the reader was unplugged).
    if (n <= 0) {
        releasePort(QString::fromUtf8("desligada"));
        return;
    }
    received(buffer, size_t(n));
}
