#pragma once
// The small modal dialog in which the operator picks the COM port of the
// serial link. Building it probes the ports; its callers read the number back
// from the chosen item.
#include <QDialog>

class QComboBox;
class QString;

namespace Ui {
class SerialPortDialog;
}

class SerialPortDialog : public QDialog
{
    Q_OBJECT

public:
    SerialPortDialog();
    ~SerialPortDialog() override;

    QComboBox *portList() const; // the form's comboBox_port

private:
    void fillPortList();

    Ui::SerialPortDialog *ui;
};

// The port number of an item text: from its fourth character, at most four
// characters, read as decimal; 0 when that is not a number (an empty list
// reads "" -> 0).
int portNumberFromItem(const QString &itemText);
