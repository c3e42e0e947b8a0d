// Drives the configurator's window offscreen as an operator would, for
// scripts/port-holder-check.sh: "Dispositivo" > "Serial" builds the port
// dialog (which looks at every COM port), COM n is picked and accepted, and
// "Obter Configuração" runs a command on it. Prints what the dialog listed
// and what the window said. The window uses the real /dev and the real waits.
//
//   port-holder-check N
#include "app/serial_port_dialog.h"
#include "config/config_record.h"
#include "modal_responder.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString wanted = QStringLiteral("COM") + QString::fromLatin1(argv[1]);
    ModalResponder responder;
    QStringList listed;
    responder.setDialogHandler([&](QDialog *dialog) {
        auto *ports = qobject_cast<SerialPortDialog *>(dialog);
        if (!ports)
            return dialog->reject();
        for (int i = 0; i < ports->portList()->count(); ++i)
            listed << ports->portList()->itemText(i);
        ports->portList()->setCurrentText(wanted);
        ports->accept();
    });
    // No HID access library: this run is about the serial ports.
    auto window = makeWindow(QStringLiteral("/nonexistent/libhid_usb.so"));
    responder.boxes.clear();
    control<QAction>(window.get(), "actionSerial")->trigger();
    printf("port dialog listed: %s\n", qPrintable(listed.join(' ')));
    control<QPushButton>(window.get(), "pushButton_getConfig")->click();
    QStringList boxes;
    for (const ShownBox &box : responder.boxes)
        boxes << box.kind + ": " + box.text;
    printf("\"Obter Configuração\" on %s: status bar \"%s\", profile name \"%s\", boxes: %s\n",
           qPrintable(wanted), qPrintable(statusText(window.get())),
           QByteArray(reinterpret_cast<const char *>(window->form.record().profileName),
                      sizeof window->form.record().profileName)
               .constData(),
           boxes.isEmpty() ? "none" : qPrintable(boxes.join("; ")));
    return 0;
}
