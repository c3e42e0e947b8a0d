// The "Dispositivo" menu: which interface the reader is set to, which is also
// the link the commands take. The two actions are exclusive whatever the click
// did to their check marks.
#include "app/main_window.h"
#include "app/serial_port_dialog.h"
#include "ui_MainWindowForm.h"

namespace {
// A checkable action checks or unchecks itself when triggered; the model
// says which it is to show.
ChangedControls withBothActions(ChangedControls changed)
{
    changed.add(Control::actionTeclado);
    changed.add(Control::actionSerial);
    return changed;
}
} // namespace

void MainWindow::on_actionTeclado_triggered()
{
    showForm(withBothActions(form.chooseKeyboard()));
}

void MainWindow::on_actionSerial_triggered()
{
    linkSession.freePort(); // a port the read test holds is listed too
    const int port = askSerialPort();
    showForm(withBothActions(form.chooseSerial(port)));
    linkSession.com_port_number = form.serialPort();
}

int MainWindow::askSerialPort()
{
    // The port is taken whether the operator accepts the dialog or not; the
    // dialog, and the ports it probed, are gone before the choice is made.
    SerialPortDialog dialog;
    dialog.exec();
    return portNumberFromItem(dialog.portList()->currentText());
}
