#include "app/serial_port_dialog.h"

#include "platform/serial_device.h"
#include "ui_SerialPortDialog.h"

namespace {
constexpr int HIGHEST_PORT_NUMBER = 2500;
}

SerialPortDialog::SerialPortDialog() : QDialog(nullptr), ui(new Ui::SerialPortDialog)
{
    ui->setupUi(this);
    fillPortList();
}

SerialPortDialog::~SerialPortDialog()
{
    delete ui;
}

QComboBox *SerialPortDialog::portList() const
{
    return ui->comboBox_port;
}

void SerialPortDialog::fillPortList()
{
    ui->comboBox_port->clear();
    for (int n = 0; n <= HIGHEST_PORT_NUMBER; ++n) {
        if (!serial_device_probe(n))
            continue;
        // The tool tip tells which device of this system the COM number is.
        char path[4200];
        serial_device_path(n, path, sizeof path);
        ui->comboBox_port->addItem(QStringLiteral("COM") + QString::number(n));
        ui->comboBox_port->setItemData(ui->comboBox_port->count() - 1, QString::fromLocal8Bit(path),
                                       Qt::ToolTipRole);
    }
    if (ui->comboBox_port->count() > 0)
        ui->comboBox_port->setCurrentIndex(0);
}

int portNumberFromItem(const QString &itemText)
{
    bool isNumber = false;
    const int number = itemText.mid(3, 4).toInt(&isNumber, 10);
    return isNumber ? number : 0;
}
