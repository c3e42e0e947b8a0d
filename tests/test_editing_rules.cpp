#include "app/serial_port_dialog.h"
#include "config/config_record.h"
#include "config_form_helpers.h"
#include "link/serial_link.h"
#include "modal_responder.h"
#include "port_folder.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {
const QString missingLibrary = QStringLiteral("/nonexistent/libhid_usb.so");

// Every setting byte differs from its neighbours, so a stray write shows.
const QByteArray pattern = QByteArray::fromHex("a55aa55aa55aa55aa55aa55aa55aa55aa55aa5");
const QByteArray inverse = QByteArray::fromHex("5aa55aa55aa55aa55aa55aa55aa55aa55aa55a");

void setSettings(const QByteArray &bytes)
{
    memcpy(record().settings, bytes.constData(), CONFIG_SETTINGS_SIZE);
}

QByteArray withBit(QByteArray bytes, int byte, uint8_t mask, bool on)
{
    bytes[byte] = static_cast<char>(on ? (bytes[byte] | mask) : (bytes[byte] & ~mask));
    return bytes;
}
} // namespace

class EditingRulesTest : public QObject
{
    Q_OBJECT

    ModalResponder *responder = nullptr;
    std::unique_ptr<MainWindow> window;

    template <typename T> T *get(const char *name) { return control<T>(window.get(), name); }

    void click(const char *name)
    {
        auto *button = get<QAbstractButton>(name);
        makeClickable(button);
        button->click();
    }

    void select(const char *list, int position) { get<QComboBox>(list)->setCurrentIndex(position); }

private slots:
    void init()
    {
        responder = new ModalResponder;
        window = makeWindow(missingLibrary);
    }

    void cleanup()
    {
        window.reset();
        delete responder;
    }

    void oneBitControlsChangeOnlyTheirBit()
    {
        const struct
        {
            const char *name;
            int byte;
            uint8_t mask;
        } boxes[] = {
            {"checkBox_SKM", 1, 0x08},
            {"checkBox_CR", 1, 0x20},
            {"checkBox_zeros", 1, 0x02},
            {"checkBox_recuperarCMC7", 2, 0x02},
            {"checkBox_enviarInvertido", 2, 0x08},
            {"checkBox_tipoDecodificado", 3, 0x01},
            {"checkBox_subPorLetra", 3, 0x02},
            {"checkBox_enviarQuestion", 3, 0x04},
            {"checkBox_esperarDocumento", 3, 0x10},
            {"checkBox_check2de5", 3, 0x20},
            {"checkBox_ackNak", 18, 0x01},
        };
        for (const auto &b : boxes) {
            auto *box = get<QCheckBox>(b.name);
            for (int round = 0; round < 2; ++round) {
                setSettings(pattern);
                clearProfileName();
                click(b.name);
                QVERIFY2(settingBytes() == withBit(pattern, b.byte, b.mask, box->isChecked()),
                         b.name);
                QCOMPARE(profileName(), QByteArray("USERCONF"));
            }
        }

        const struct
        {
            const char *name;
            int byte;
            uint8_t mask;
            bool value;
        } radios[] = {
            {"radioButton_eng", 3, 0x40, false},
            {"radioButton_abnt", 3, 0x40, true},
            {"radioButton_saida", 2, 0x40, false},
            {"radioButton_entrada", 2, 0x40, true},
        };
        for (const auto &r : radios) {
            for (const QByteArray &start : {pattern, inverse}) {
                setSettings(start);
                clearProfileName();
                click(r.name);
                QVERIFY2(settingBytes() == withBit(start, r.byte, r.mask, r.value), r.name);
                QCOMPARE(profileName(), QByteArray("USERCONF"));
            }
        }

        // On and off again: the byte is back, the name stays marked.
        const QByteArray before = settingBytes();
        click("checkBox_SKM");
        click("checkBox_SKM");
        QCOMPARE(settingBytes(), before);
    }

    void listsAndSpinBoxStoreTheirValue()
    {
        setSettings(pattern); // byte 0: code 5, parity 2, 8 bits, 2 stop bits
        select("comboBox_velocidade", 2);
        QCOMPARE(record().settings[1], uint8_t(0x9A));
        select("comboBox_velocidade", 3);
        QCOMPARE(record().settings[1], uint8_t(0xDA));
        select("comboBox_baud", 0);
        QCOMPARE(record().settings[0], uint8_t(0xA8));
        select("comboBox_baud", 7);
        QCOMPARE(record().settings[0], uint8_t(0xA1));
        select("comboBox_paridade", 1);
        QCOMPARE(record().settings[0], uint8_t(0x91));
        select("comboBox_byte", 1);
        select("comboBox_byte", 0);
        QCOMPARE(record().settings[0], uint8_t(0xD1));
        select("comboBox_byte", 1);
        QCOMPARE(record().settings[0], uint8_t(0x91));
        select("comboBox_stopBits", 0);
        QCOMPARE(record().settings[0], uint8_t(0x11));
        QCOMPARE(settingBytes().mid(2), pattern.mid(2));

        // No selection: the rules' fallbacks.
        for (const char *list : {"comboBox_velocidade", "comboBox_baud", "comboBox_paridade",
                                 "comboBox_stopBits", "comboBox_protocol"})
            select(list, -1);
        QCOMPARE(record().settings[1], uint8_t(0x1A));
        QCOMPARE(record().settings[0], uint8_t(0x80));
        QCOMPARE(settingBytes().mid(13, 4), QByteArray(4, '\0'));

        select("comboBox_protocol", 1);
        QCOMPARE(settingBytes().mid(13, 4).toHex(), QByteArray("00000d0a"));
        select("comboBox_protocol", 2);
        QCOMPARE(settingBytes().mid(13, 4).toHex(), QByteArray("00000d00"));
        select("comboBox_protocol", 0);
        QCOMPARE(settingBytes().mid(13, 4).toHex(), QByteArray("02000300"));
        select("comboBox_protocol", 3);
        QCOMPARE(settingBytes().mid(12, 6).toHex(),
                 pattern.mid(12, 1).toHex() + "00000000" + pattern.mid(17, 1).toHex());

        clearProfileName();
        get<QSpinBox>("spinBox_releituras")->setValue(3);
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(4));
        QCOMPARE(profileName(), QByteArray("USERCONF"));
    }

    void characterListsStoreTheirCharacterUnlessFillingForm()
    {
        const struct
        {
            const char *list;
            SettingByte byte;
        } lists[] = {
            {"comboBox_indicadorErro", errorIndicatorChar},
            {"comboBox_erroCMC7", cmc7SubstituteChar},
            {"comboBox_bbSep1", bankSlipSeparator1},
            {"comboBox_bbSep2", bankSlipSeparator2},
            {"comboBox_concSep1", utilityBillSeparator1},
            {"comboBox_concSep2", utilityBillSeparator2},
            {"comboBox_CR", charBeforeCr},
            {"comboBox_separadorCMC7", cmc7SeparatorChar},
        };
        window->fillingForm = true;
        for (const auto &l : lists)
            select(l.list, 33);
        select("comboBox_bcc", 0x7E);
        QCOMPARE(settingBytes(), defaultSettings());
        QCOMPARE(profileName(), QByteArray(8, '\0'));

        window->fillingForm = false;
        for (const auto &l : lists) {
            select(l.list, 3);
            QCOMPARE(record().settings[l.byte], uint8_t(0x20));
            select(l.list, 98);
            QCOMPARE(record().settings[l.byte], uint8_t(0x7F));
        }
        select("comboBox_bcc", 0xC3);
        QCOMPARE(record().settings[bccInitialValue], uint8_t(0xC3));
        QCOMPARE(profileName(), QByteArray("USERCONF"));
    }

    void sendModeZeroesAndRestoresTheSeparators()
    {
        select("comboBox_bbSep1", 4);    // '!'
        select("comboBox_bbSep2", 3);    // SPACE
        select("comboBox_concSep1", 98); // BCKSPC
        select("comboBox_concSep2", 2);  // ENTER
        click("radioButton_leituraOptica");
        QCOMPARE(settingBytes().mid(7, 4), QByteArray(4, '\0'));
        QCOMPARE(record().settings[1] & 0x07, 0x04);
        QCOMPARE(record().settings[2] & 0x04, 0);
        for (const char *name : {"checkBox_digitoBarras", "checkBox_valor", "checkBox_zeros"}) {
            QVERIFY2(!get<QCheckBox>(name)->isEnabled(), name);
            QVERIFY2(!get<QCheckBox>(name)->isChecked(), name);
        }
        QVERIFY(!get<QGroupBox>("groupBox_bbSep")->isEnabled());
        QCOMPARE(get<QComboBox>("comboBox_bbSep1")->currentIndex(), 4);

        click("radioButton_leituraDigitado");
        QCOMPARE(settingBytes().mid(7, 4).toHex(), QByteArray("21207f0d"));
        QCOMPARE(record().settings[1] & 0x04, 0);
        QVERIFY(get<QCheckBox>("checkBox_digitoBarras")->isEnabled());
        QVERIFY(get<QGroupBox>("groupBox_cpSep")->isEnabled());
        // The check digit is still off, so amount and zeros stay out of reach.
        QVERIFY(!get<QCheckBox>("checkBox_valor")->isEnabled());

        // A list left without a selection gives 0x1C.
        window->fillingForm = true;
        select("comboBox_bbSep1", -1);
        window->fillingForm = false;
        click("radioButton_leituraOptica");
        click("radioButton_leituraDigitado");
        QCOMPARE(record().settings[bankSlipSeparator1], uint8_t(0x1C));
    }

    void amountZerosAndCheckDigit()
    {
        click("radioButton_leituraDigitado");
        click("checkBox_digitoBarras");
        QCOMPARE(record().settings[2] & 0x04, 0x04);
        QVERIFY(get<QCheckBox>("checkBox_valor")->isEnabled());
        QVERIFY(get<QCheckBox>("checkBox_zeros")->isEnabled());

        click("checkBox_zeros");
        click("checkBox_valor");
        QCOMPARE(record().settings[1] & 0x03, 0x03);
        click("checkBox_valor"); // off: zeros go too, the box stays checked
        QCOMPARE(record().settings[1] & 0x03, 0x00);
        QVERIFY(get<QCheckBox>("checkBox_zeros")->isChecked());
        click("checkBox_zeros");
        click("checkBox_zeros");
        QCOMPARE(record().settings[1] & 0x03, 0x02);

        click("checkBox_valor");
        QCOMPARE(record().settings[1] & 0x03, 0x03);
        click("checkBox_digitoBarras"); // off: both boxes go, their bits stay
        QCOMPARE(record().settings[2] & 0x04, 0);
        QCOMPARE(record().settings[1] & 0x03, 0x03);
        for (const char *name : {"checkBox_valor", "checkBox_zeros"}) {
            QVERIFY2(!get<QCheckBox>(name)->isEnabled(), name);
            QVERIFY2(!get<QCheckBox>(name)->isChecked(), name);
        }
    }

    void errorIndicator()
    {
        select("comboBox_indicadorErro", 33); // '>'
        record().settings[errorIndicatorChar] = 0x11;
        click("checkBox_indicaErro");
        QCOMPARE(record().settings[2] & 0x10, 0x10);
        QCOMPARE(record().settings[errorIndicatorChar], uint8_t(0x3E));
        QVERIFY(get<QComboBox>("comboBox_indicadorErro")->isEnabled());

        click("checkBox_indicaErro");
        QCOMPARE(record().settings[2] & 0x10, 0);
        QCOMPARE(record().settings[errorIndicatorChar], uint8_t(0));
        QVERIFY(!get<QComboBox>("comboBox_indicadorErro")->isEnabled());
        QCOMPARE(get<QComboBox>("comboBox_indicadorErro")->currentIndex(), 33);

        click("checkBox_indicaErro");
        QCOMPARE(record().settings[errorIndicatorChar], uint8_t(0x3E));
    }

    void cmc7CheckDigitAndSeparator()
    {
        record().set(Field::cmc7Recover, 1);
        record().set(Field::cmc7SendReversedOnError, 1);
        record().settings[cmc7SeparatorChar] = 0x55;
        click("checkBox_checkCMC7");
        QCOMPARE(record().settings[3] & 0x08, 0x08);
        QCOMPARE(record().settings[2] & 0x0B, 0x02); // reversed cleared, separator off
        QVERIFY(get<QCheckBox>("checkBox_separadorCMC7")->isEnabled());
        QVERIFY(!get<QComboBox>("comboBox_separadorCMC7")->isEnabled());
        QVERIFY(get<QCheckBox>("checkBox_subPorLetra")->isEnabled());
        // Byte 12 takes the list's character (ENTER from start-up).
        QCOMPARE(record().settings[cmc7SeparatorChar], uint8_t(0x0D));

        select("comboBox_separadorCMC7", 5); // '"'
        record().settings[cmc7SeparatorChar] = 0x55;
        click("checkBox_separadorCMC7");
        QCOMPARE(record().settings[2] & 0x01, 0x01);
        QCOMPARE(record().settings[cmc7SeparatorChar], uint8_t(0x22));
        QVERIFY(get<QComboBox>("comboBox_separadorCMC7")->isEnabled());
        click("checkBox_separadorCMC7");
        QCOMPARE(record().settings[2] & 0x01, 0);
        QCOMPARE(record().settings[cmc7SeparatorChar], uint8_t(0x22));
        QVERIFY(!get<QComboBox>("comboBox_separadorCMC7")->isEnabled());

        click("checkBox_separadorCMC7");
        click("checkBox_subPorLetra");
        click("checkBox_checkCMC7"); // off
        QCOMPARE(record().settings[3] & 0x08, 0);
        QCOMPARE(record().settings[2] & 0x02, 0);
        QCOMPARE(record().settings[2] & 0x01, 0x01); // kept
        QCOMPARE(record().settings[3] & 0x02, 0x02); // kept
        for (const char *name : {"checkBox_separadorCMC7", "checkBox_subPorLetra"}) {
            QVERIFY2(!get<QCheckBox>(name)->isEnabled(), name);
            QVERIFY2(!get<QCheckBox>(name)->isChecked(), name);
        }
        QVERIFY(!get<QComboBox>("comboBox_separadorCMC7")->isEnabled());
        QVERIFY(get<QCheckBox>("checkBox_recuperarCMC7")->isEnabled());
    }

    void blockCheck()
    {
        click("checkBox_bcc"); // off
        QCOMPARE(record().settings[18], uint8_t(0x01));
        QCOMPARE(record().settings[bccInitialValue], uint8_t(0));
        QVERIFY(!get<QComboBox>("comboBox_bcc")->isEnabled());
        click("checkBox_bcc");
        QCOMPARE(record().settings[18], uint8_t(0x03));
        // The hidden list still stands where start-up put it.
        QCOMPARE(record().settings[bccInitialValue], uint8_t(2));
        QVERIFY(get<QComboBox>("comboBox_bcc")->isEnabled());

        // The protocol list does not touch the box.
        select("comboBox_protocol", 2);
        QVERIFY(get<QCheckBox>("checkBox_bcc")->isChecked());
        QCOMPARE(record().settings[18], uint8_t(0x03));
    }

    void modelBrakeAndParking()
    {
        auto *spin = get<QSpinBox>("spinBox_releituras");
        auto *parking = get<QGroupBox>("groupBox_estacionar");
        spin->setValue(3);
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(4));

        click("radioButton_modeloBandeja");
        QCOMPARE(record().settings[2] & 0xE0, 0xA0); // tray, not at entry, stop
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(4));
        QVERIFY(!parking->isEnabled());
        click("checkBox_freio"); // off
        QCOMPARE(record().settings[2] & 0x80, 0);
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(1));
        QVERIFY(!spin->isEnabled());
        QVERIFY(!parking->isEnabled()); // tray model: parking stays off
        click("radioButton_modeloBandeja");
        QCOMPARE(record().settings[2] & 0xE0, 0x20);
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(1));

        click("radioButton_modeloFreio"); // brake off, "Entrada" checked
        QCOMPARE(record().settings[2] & 0xE0, 0x40);
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(1));
        QVERIFY(!parking->isEnabled());
        QVERIFY(!spin->isEnabled());

        click("checkBox_freio"); // on
        QCOMPARE(record().settings[2] & 0x80, 0x80);
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(4));
        QVERIFY(spin->isEnabled());
        click("radioButton_modeloFreio");
        QCOMPARE(record().settings[2] & 0xE0, 0x80);
        QVERIFY(parking->isEnabled());

        click("radioButton_saida");
        click("checkBox_freio"); // off with "Saída": parking disabled, bit kept
        QCOMPARE(record().settings[2] & 0xC0, 0x00);
        QVERIFY(!parking->isEnabled());
        click("radioButton_entrada");
        parking->setEnabled(false);
        click("checkBox_freio");
        QVERIFY(!parking->isEnabled());
        click("checkBox_freio"); // off with "Entrada": parking enabled, at entry
        QCOMPARE(record().settings[2] & 0xC0, 0x40);
        QVERIFY(parking->isEnabled());
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(1));
    }

    void tecladoActionTakesTheKeyboardControls()
    {
        setSettings(pattern);
        select("comboBox_CR", 33);
        select("comboBox_velocidade", 2);
        click("checkBox_SKM");
        click("checkBox_CR"); // now off
        setSettings(pattern);
        record().settings[1] = 0x37; // CR on, SKM off, speed 0
        record().set(Field::cdcInterface, 1);
        clearProfileName();
        get<QAction>("actionTeclado")->trigger();
        QVERIFY(get<QAction>("actionTeclado")->isChecked());
        QVERIFY(!get<QAction>("actionSerial")->isChecked());
        QVERIFY(get<QGroupBox>("groupBox_teclado")->isEnabled());
        QVERIFY(!get<QGroupBox>("groupBox_CDC")->isEnabled());
        QCOMPARE(record().settings[3] & 0x80, 0);
        QCOMPARE(record().settings[1], uint8_t(0x9F));
        QCOMPARE(record().settings[charBeforeCr], uint8_t(0x3E));
        QCOMPARE(record().settings[0], uint8_t(pattern[0]));
        QCOMPARE(profileName(), QByteArray("USERCONF"));

        // Raised guard: the character before CR is left alone.
        record().settings[charBeforeCr] = 0x11;
        window->fillingForm = true;
        QMetaObject::invokeMethod(window.get(), "on_actionTeclado_triggered");
        window->fillingForm = false;
        QCOMPARE(record().settings[charBeforeCr], uint8_t(0x11));
    }

    void serialActionTakesThePortAndTheSerialControls()
    {
        PortFolder ports;
        ports.addPort(3);
        ports.addPort(12);
        QStringList offered;
        responder->setDialogHandler([&](QDialog *dialog) {
            auto *list = qobject_cast<SerialPortDialog *>(dialog)->portList();
            for (int i = 0; i < list->count(); ++i)
                offered << list->itemText(i);
            list->setCurrentIndex(1);
            dialog->reject(); // cancelling still takes the port
        });
        setSettings(pattern);
        clearProfileName();
        window->linkSession.com_port_number = 1;
        get<QAction>("actionSerial")->trigger();
        QCOMPARE(offered, QStringList({"COM3", "COM12"}));
        QCOMPARE(window->linkSession.com_port_number, 12);
        QVERIFY(get<QAction>("actionSerial")->isChecked());
        QVERIFY(!get<QAction>("actionTeclado")->isChecked());
        QVERIFY(!get<QGroupBox>("groupBox_teclado")->isEnabled());
        QVERIFY(get<QGroupBox>("groupBox_CDC")->isEnabled());
        QVERIFY(get<QComboBox>("comboBox_bcc")->isEnabled());
        // 2400 bit/s, no parity, 7 data bits, 2 stop bits; BCC from the hidden list; ACK/NAK.
        QCOMPARE(record().settings[0], uint8_t(0xC2));
        QCOMPARE(record().settings[3], uint8_t(pattern[3] | 0x80));
        QCOMPARE(record().settings[bccInitialValue], uint8_t(2));
        QCOMPARE(record().settings[18], uint8_t((pattern[18] & ~0x03) | 0x03));
        QCOMPARE(settingBytes().mid(4, 13), pattern.mid(4, 13));
        QCOMPARE(profileName(), QByteArray("USERCONF"));

        // Without BCC or ACK/NAK, and with no port at all.
        ports.remove(3);
        ports.remove(12);
        click("checkBox_bcc");
        click("checkBox_ackNak");
        responder->setDialogHandler([](QDialog *dialog) { dialog->accept(); });
        get<QAction>("actionSerial")->trigger();
        QCOMPARE(window->linkSession.com_port_number, 0);
        QCOMPARE(record().settings[18] & 0x03, 0);
        QCOMPARE(record().settings[bccInitialValue], uint8_t(0));
        QVERIFY(get<QAction>("actionSerial")->isChecked());
    }
};

QTEST_MAIN(EditingRulesTest)
#include "test_editing_rules.moc"
