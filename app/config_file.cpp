// "Arquivo" menu: saving the record to a *.cfg file and opening one again.
#include "app/main_window.h"
#include "app/serial_port_dialog.h"
#include "commands/message_catalogue.h"
#include "config/config_file_format.h"
#include "config/config_record.h"
#include "ui_MainWindowForm.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {
QString dialogCaption()
{
    return QString::fromUtf8("Arquivos de configuração do Velorix 2");
}

// The process's current folder.
const QString startFolder = QStringLiteral("./");
const QString fileFilter = QStringLiteral("*.cfg");

// Message 8's box, shown by the file actions themselves, without a status-bar line.
void showFileError(QWidget *parent)
{
    const CatalogueMessage *message = catalogueMessage(MESSAGE_FILE_NOT_OPENED);
    QMessageBox::critical(parent, QString::fromUtf8(message->title),
                          QString::fromUtf8(message->text));
}
} // namespace

void MainWindow::on_actionSalvar_triggered()
{
    runExclusive([this] { saveToFile(); });
}

void MainWindow::saveToFile()
{
    const ConfigRecord &record = form.recordToSave();
    const QString path =
        QFileDialog::getSaveFileName(this, dialogCaption(), startFolder, fileFilter);
    if (path.isEmpty())
        return;
    if (!saveConfigFile(path, record))
        showFileError(this);
}

void MainWindow::on_actionAbrir_triggered()
{
    runExclusive([this] { openFromFile(); });
}

void MainWindow::openFromFile()
{
    // Building the dialog lists the ports, before the file is even chosen.
    SerialPortDialog portDialog;
    const QString path =
        QFileDialog::getOpenFileName(this, dialogCaption(), startFolder, fileFilter);
    if (path.isEmpty())
        return;
    uint8_t buffer[CONFIG_FILE_BUFFER_SIZE];
    if (!loadConfigFile(path, buffer)) {
        showFileError(this);
        return;
    }
    update_gui_from_file(reinterpret_cast<char *>(buffer));
    if (!form.state(Control::actionSerial).checked)
        return;
    // A serial configuration needs a port; the dialog comes back until one is accepted.
    while (portDialog.exec() != QDialog::Accepted) {
    }
    linkSession.com_port_number = portNumberFromItem(portDialog.portList()->currentText());
}
