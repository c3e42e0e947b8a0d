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
    void listsThePortsThatOpenInOrder()
    {
        PortFolder ports;
        for (int number : {12, 3, 65, 33})
            ports.addPort(number);
        ports.addPort(1, PORT_UNKNOWN); // a legacy name with no UART behind it
        SerialPortDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Porta COM"));
        QCOMPARE(dialog.findChild<QGroupBox *>(QStringLiteral("groupBox"))->title(),
                 QStringLiteral("Selecione a porta COM"));
        QCOMPARE(dialog.portList()->objectName(), QStringLiteral("comboBox_port"));
        QCOMPARE(itemsOf(dialog), QStringList({"COM3", "COM12", "COM33", "COM65"}));
        QCOMPARE(dialog.portList()->currentIndex(), 0);
        QVERIFY(dialog.portList()->itemData(3, Qt::ToolTipRole).toString().endsWith("/ttyACM0"));
        QVERIFY(dialog.portList()->itemData(1, Qt::ToolTipRole).toString().endsWith("/ttyS11"));
        dialog.portList()->setCurrentIndex(1);
        QCOMPARE(portNumberFromItem(dialog.portList()->currentText()), 12);
    }

    void heldMissingAndNoPorts()
    {
        PortFolder ports;
        ports.addPort(3);
        ports.addPort(12);
        const int held = serial_device_open(3);
        QVERIFY(held >= 0);
        QCOMPARE(itemsOf(SerialPortDialog()), QStringList({"COM12"}));
        serial_device_close(held);
        ports.remove(12);
        QCOMPARE(itemsOf(SerialPortDialog()), QStringList({"COM3"}));
        // No port: an empty list that reads zero.
        ports.remove(3);
        SerialPortDialog dialog;
        QCOMPARE(dialog.portList()->count(), 0);
        QCOMPARE(portNumberFromItem(dialog.portList()->currentText()), 0);
    }

    void itemTextsReadAsPortNumbers()
    {
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
