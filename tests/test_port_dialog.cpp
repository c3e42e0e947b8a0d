#include "app/serial_port_dialog.h"
#include "platform/serial_device.h"
#include "port_folder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTest>

namespace {
QStringList itemsOf(const SerialPortDialog &dialog)
{
    QStringList items;
    for (int i = 0; i < dialog.portList()->count(); ++i)
        items << dialog.portList()->itemText(i);
    return items;
}
} // namespace

class PortDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void listsThePortsThatOpenAndReadsTheirNumbers()
    {
        PortFolder ports;
        for (int number : {12, 3, 65, 33})
            ports.addPort(number);
        ports.addPort(1, PORT_UNKNOWN); // a legacy name with no UART behind it
        SerialPortDialog dialog;        // its title is checked in test_main_window
        QCOMPARE(dialog.findChild<QGroupBox *>(QStringLiteral("groupBox"))->title(),
                 QStringLiteral("Selecione a porta COM"));
        QCOMPARE(dialog.portList()->objectName(), QStringLiteral("comboBox_port"));
        QCOMPARE(itemsOf(dialog), QStringList({"COM3", "COM12", "COM33", "COM65"}));
        QCOMPARE(dialog.portList()->currentIndex(), 0);
        QVERIFY(dialog.portList()->itemData(3, Qt::ToolTipRole).toString().endsWith("/ttyACM0"));
        QVERIFY(dialog.portList()->itemData(1, Qt::ToolTipRole).toString().endsWith("/ttyS11"));
        dialog.portList()->setCurrentIndex(1);
        QCOMPARE(portNumberFromItem(dialog.portList()->currentText()), 12);

        // A port held open elsewhere and a missing one are left out.
        const int held = serial_device_open(3);
        QVERIFY(held >= 0);
        ports.remove(12);
        QCOMPARE(itemsOf(SerialPortDialog()), QStringList({"COM33", "COM65"}));
        serial_device_close(held);
        for (int number : {3, 33, 65})
            ports.remove(number);
        SerialPortDialog none; // an empty list that reads zero
        QVERIFY(none.portList()->count() == 0 &&
                portNumberFromItem(none.portList()->currentText()) == 0);

        for (const auto &[text, number] : {std::pair{"COM7", 7},
                                           {"COM2500", 2500},
                                           {"COM12345", 1234},
                                           {"COMx", 0},
                                           {"COM", 0},
                                           {"", 0}})
            QVERIFY2(portNumberFromItem(QString::fromLatin1(text)) == number, text);
    }
};

QTEST_MAIN(PortDialogTest)
#include "test_port_dialog.moc"
