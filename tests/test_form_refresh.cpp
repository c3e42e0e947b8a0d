#include "config/config_record.h"
#include "config_form_helpers.h"
#include "modal_responder.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {
const QString missingLibrary = QStringLiteral("/nonexistent/libhid_usb.so");

// The start-up settings with some bytes replaced.
QByteArray settingsWith(std::initializer_list<std::pair<int, uint8_t>> changes)
{
    QByteArray settings = defaultSettings();
    for (const auto &[byte, value] : changes)
        settings[byte] = static_cast<char>(value);
    return settings;
}

constexpr uint8_t CDC = 0x80;
constexpr uint8_t DEFAULT_BYTE3 = 0x44;
} // namespace

class FormRefreshTest : public QObject
{
    Q_OBJECT

    ModalResponder *responder = nullptr;
    std::unique_ptr<MainWindow> window;

    template <typename T> T *get(const char *name) { return control<T>(window.get(), name); }
    void load(const QByteArray &settings, const QByteArray &name = "CLIENTE1")
    {
        loadBlock(window.get(), serializedBlock(name, settings));
        QVERIFY(!window->fillingForm);
    }

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

    void nameIsKeptUnlessAListMoves()
    {
        load(defaultSettings(), "CLIENTE1");
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("CLIENTE1"));
        QCOMPARE(profileName(), QByteArray("CLIENTE1"));
        QCOMPARE(settingBytes(), defaultSettings());
        QVERIFY(get<QAction>("actionTeclado")->isChecked());

        // Serial: parity moves from "Nenhum" to "Ímpar", whose handler marks the record.
        const QByteArray serial = settingsWith({{3, DEFAULT_BYTE3 | CDC}});
        load(serial, "CLIENTE1");
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("CLIENTE1"));
        QCOMPARE(get<QComboBox>("comboBox_paridade")->currentIndex(), 1);
        QCOMPARE(profileName(), QByteArray("USERCONF"));
        QCOMPARE(settingBytes(), serial);
        QVERIFY(get<QAction>("actionSerial")->isChecked());
        QVERIFY(!get<QAction>("actionTeclado")->isChecked());
        QVERIFY(get<QGroupBox>("groupBox_CDC")->isEnabled());
        QVERIFY(!get<QGroupBox>("groupBox_teclado")->isEnabled());

        load(serial, "CLIENTE1");
        QCOMPARE(profileName(), QByteArray("CLIENTE1"));

        // A short name is shown up to its first zero byte.
        load(serial, QByteArray("AB\0XYZ", 6));
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("AB"));
    }

    void serialSettingsOutsideTheListsLeaveThemAlone()
    {
        // Baud code 0 and parity 3.
        const QByteArray block = settingsWith({{0, 0xB0}, {3, DEFAULT_BYTE3 | CDC}});
        load(block);
        QCOMPARE(get<QComboBox>("comboBox_baud")->currentIndex(), 6);
        QCOMPARE(get<QComboBox>("comboBox_paridade")->currentIndex(), -1);
        QCOMPARE(record().get(Field::baudCode), 0u);
        QCOMPARE(record().get(Field::parity), 0u);
        QCOMPARE(record().get(Field::twoStopBits), 1u);

        // Loaded again, no list moves: parity 3 and the name stay.
        load(block);
        QCOMPARE(record().get(Field::parity), 3u);
        QCOMPARE(profileName(), QByteArray("CLIENTE1"));

        // Code 1 is the last entry, "1200"; 8 data bits and 1 stop bit.
        load(settingsWith({{0, 0x21}, {3, DEFAULT_BYTE3 | CDC}}));
        QCOMPARE(get<QComboBox>("comboBox_baud")->currentText(), QStringLiteral("1200"));
        QCOMPARE(get<QComboBox>("comboBox_paridade")->currentIndex(), 2);
        QCOMPARE(get<QComboBox>("comboBox_byte")->currentIndex(), 1);
        QCOMPARE(get<QComboBox>("comboBox_stopBits")->currentIndex(), 0);
        QCOMPARE(record().settings[0], uint8_t(0x21));
    }

    void protocolAndBlockCheck()
    {
        auto *protocol = get<QComboBox>("comboBox_protocol");
        auto *bcc = get<QCheckBox>("checkBox_bcc");
        auto *ackNak = get<QCheckBox>("checkBox_ackNak");

        // Already on STX-D-ETX: the loaded bytes stay as they are.
        load(settingsWith({{3, DEFAULT_BYTE3 | CDC}, {15, 0x0D}, {16, 0x0A}, {18, 0x02}}));
        QCOMPARE(protocol->currentIndex(), 0);
        QCOMPARE(settingBytes().mid(13, 4).toHex(), QByteArray("02000d0a"));
        QVERIFY(bcc->isEnabled() && bcc->isChecked());
        QVERIFY(get<QComboBox>("comboBox_bcc")->isEnabled());
        QVERIFY(!ackNak->isChecked());

        // Without a header: the trailer decides, and no block check is offered.
        load(settingsWith({{3, DEFAULT_BYTE3 | CDC}, {13, 0}, {15, 0}, {16, 0x0A}, {18, 0x01}}));
        QCOMPARE(protocol->currentText(), QStringLiteral("D-CR-LF"));
        QCOMPARE(settingBytes().mid(13, 4).toHex(), QByteArray("00000d0a"));
        QVERIFY(!bcc->isEnabled() && !bcc->isChecked());
        QVERIFY(!get<QComboBox>("comboBox_bcc")->isEnabled());
        QVERIFY(!ackNak->isChecked()); // BCC off: ACK/NAK is left as it was

        load(settingsWith({{3, DEFAULT_BYTE3 | CDC}, {13, 0}, {15, 0x0D}, {16, 0}}));
        QCOMPARE(protocol->currentText(), QStringLiteral("D-CR"));
        load(settingsWith({{3, DEFAULT_BYTE3 | CDC}, {13, 0}, {15, 0}, {16, 0}}));
        QCOMPARE(protocol->currentText(), QStringLiteral("NENHUM"));

        // Moving to STX-D-ETX rewrites the canonical row.
        load(settingsWith({{3, DEFAULT_BYTE3 | CDC}, {13, 0x02}, {15, 0x0D}, {16, 0}}));
        QCOMPARE(protocol->currentIndex(), 0);
        QCOMPARE(settingBytes().mid(13, 4).toHex(), QByteArray("02000300"));
        QCOMPARE(profileName(), QByteArray("USERCONF"));
        QVERIFY(ackNak->isChecked());
    }

    void keyboardCaseLeavesTheSerialControls()
    {
        auto *baud = get<QComboBox>("comboBox_baud");
        baud->setCurrentIndex(2);
        load(settingsWith({{0, 0x21}, {1, 0x4C}})); // speed 1, SKM on, CR off
        QCOMPARE(baud->currentIndex(), 2);
        QCOMPARE(get<QComboBox>("comboBox_velocidade")->currentIndex(), 1);
        QVERIFY(get<QCheckBox>("checkBox_SKM")->isChecked());
        QVERIFY(!get<QCheckBox>("checkBox_CR")->isChecked());
        QCOMPARE(record().settings[0], uint8_t(0x21));
        QCOMPARE(record().settings[1], uint8_t(0x4C));
    }

    void layoutFollowsTheRecord()
    {
        load(settingsWith({{3, 0x04}}));
        QVERIFY(get<QRadioButton>("radioButton_eng")->isChecked());
        QVERIFY(!get<QRadioButton>("radioButton_abnt")->isChecked());
        load(defaultSettings());
        QVERIFY(get<QRadioButton>("radioButton_abnt")->isChecked());
    }

    void separatorsNoItemStandsFor()
    {
        // Typed mode, so the separators are in use.
        load(settingsWith({{1, 0xF3}, {7, 0x05}, {9, 0x1E}, {11, 0x80}}));
        QCOMPARE(get<QComboBox>("comboBox_bbSep1")->currentIndex(), -1);
        QCOMPARE(get<QComboBox>("comboBox_concSep1")->currentText(), QStringLiteral("TAB"));
        QCOMPARE(get<QComboBox>("comboBox_CR")->currentIndex(), -1);
        QCOMPARE(record().settings[bankSlipSeparator1], uint8_t(0x05));
        QCOMPARE(record().settings[utilityBillSeparator1], uint8_t(0x1E));
        QCOMPARE(record().settings[charBeforeCr], uint8_t(0x80));
        QCOMPARE(profileName(), QByteArray("CLIENTE1"));

        // Choosing "Como digitado" takes the empty list as 0x1C.
        get<QRadioButton>("radioButton_leituraDigitado")->click();
        QCOMPARE(record().settings[bankSlipSeparator1], uint8_t(0x1C));
        QCOMPARE(record().settings[utilityBillSeparator1], uint8_t(0x09));
    }

    void everyCharacterListShowsItsByte()
    {
        const struct
        {
            const char *list;
            int byte;
            const char *shown;
        } rows[] = {
            {"comboBox_indicadorErro", errorIndicatorChar, "!"},
            {"comboBox_erroCMC7", cmc7SubstituteChar, "#"},
            {"comboBox_bbSep1", bankSlipSeparator1, "%"},
            {"comboBox_bbSep2", bankSlipSeparator2, "&"},
            {"comboBox_concSep1", utilityBillSeparator1, "("},
            {"comboBox_concSep2", utilityBillSeparator2, ")"},
            {"comboBox_CR", charBeforeCr, "+"},
            {"comboBox_separadorCMC7", cmc7SeparatorChar, "-"},
        };
        QByteArray settings = defaultSettings();
        for (const auto &row : rows)
            settings[row.byte] = row.shown[0];
        load(settings);
        for (const auto &row : rows)
            QVERIFY2(get<QComboBox>(row.list)->currentText() == QLatin1String(row.shown), row.list);
    }

    void cmc7ControlsFollowTheRules()
    {
        auto *separatorBox = get<QCheckBox>("checkBox_separadorCMC7");
        auto *separatorList = get<QComboBox>("comboBox_separadorCMC7");
        auto *letters = get<QCheckBox>("checkBox_subPorLetra");

        load(settingsWith({{2, 0xC5}, {3, DEFAULT_BYTE3 | 0x0A}, {12, 0x2A}}));
        QVERIFY(get<QCheckBox>("checkBox_checkCMC7")->isChecked());
        QVERIFY(separatorBox->isEnabled() && separatorBox->isChecked());
        QVERIFY(separatorList->isEnabled());
        QCOMPARE(separatorList->currentText(), QStringLiteral("*"));
        QVERIFY(letters->isEnabled() && letters->isChecked());

        load(settingsWith({{2, 0xC4}, {3, DEFAULT_BYTE3 | 0x08}}));
        QVERIFY(separatorBox->isEnabled() && !separatorBox->isChecked());
        QVERIFY(!separatorList->isEnabled());
        QVERIFY(letters->isEnabled() && !letters->isChecked());

        // Without verification neither the separator nor the letters are offered.
        load(settingsWith({{2, 0xCF}, {3, DEFAULT_BYTE3 | 0x02}, {6, 0x23}}));
        QVERIFY(!get<QCheckBox>("checkBox_checkCMC7")->isChecked());
        QVERIFY(!separatorBox->isEnabled() && !separatorBox->isChecked());
        QVERIFY(!separatorList->isEnabled());
        QVERIFY(!letters->isEnabled() && !letters->isChecked());
        QVERIFY(get<QCheckBox>("checkBox_recuperarCMC7")->isChecked());
        QVERIFY(get<QCheckBox>("checkBox_enviarInvertido")->isChecked());
        QCOMPARE(get<QComboBox>("comboBox_erroCMC7")->currentText(), QStringLiteral("#"));
        QCOMPARE(record().settings[2], uint8_t(0xCF));
    }

    void sendModeControls()
    {
        auto *checkDigit = get<QCheckBox>("checkBox_digitoBarras");
        auto *amount = get<QCheckBox>("checkBox_valor");
        auto *zeros = get<QCheckBox>("checkBox_zeros");

        // Typed, with check digit, amount and zeros.
        load(settingsWith({{1, 0xF3}}));
        QVERIFY(get<QRadioButton>("radioButton_leituraDigitado")->isChecked());
        QVERIFY(get<QGroupBox>("groupBox_bbSep")->isEnabled());
        QVERIFY(get<QGroupBox>("groupBox_cpSep")->isEnabled());
        QVERIFY(checkDigit->isEnabled() && checkDigit->isChecked());
        QVERIFY(amount->isEnabled() && amount->isChecked());
        QVERIFY(zeros->isEnabled() && zeros->isChecked());

        // Typed without the check digit: the boxes show their bits, but are locked.
        load(settingsWith({{1, 0xF1}, {2, 0xC0}}));
        QVERIFY(checkDigit->isEnabled() && !checkDigit->isChecked());
        QVERIFY(!amount->isEnabled() && amount->isChecked());
        QVERIFY(!zeros->isEnabled() && !zeros->isChecked());

        // As read: none of the three is offered.
        load(settingsWith({{1, 0xF7}}));
        QVERIFY(get<QRadioButton>("radioButton_leituraOptica")->isChecked());
        QVERIFY(!get<QGroupBox>("groupBox_bbSep")->isEnabled());
        QVERIFY(!checkDigit->isEnabled());
        QVERIFY(!amount->isEnabled() && !amount->isChecked());
        QVERIFY(!zeros->isEnabled() && !zeros->isChecked());
        QCOMPARE(record().settings[1], uint8_t(0xF7));
    }

    void tractionAndRereads()
    {
        auto *spin = get<QSpinBox>("spinBox_releituras");
        load(settingsWith({{4, 9}}));
        QCOMPARE(spin->value(), 3);
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(4));
        QCOMPARE(profileName(), QByteArray("USERCONF"));
        load(settingsWith({{4, 9}}));
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(9));
        QCOMPARE(profileName(), QByteArray("CLIENTE1"));

        // Tray model, no document stop, park at exit: spin box keeps its value.
        load(settingsWith({{2, 0x24}, {4, 0}}));
        QVERIFY(get<QRadioButton>("radioButton_modeloBandeja")->isChecked());
        QVERIFY(!get<QGroupBox>("groupBox_estacionar")->isEnabled());
        QVERIFY(!get<QCheckBox>("checkBox_freio")->isChecked());
        QVERIFY(!spin->isEnabled());
        QCOMPARE(spin->value(), 3);
        QVERIFY(get<QRadioButton>("radioButton_saida")->isChecked());
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(0));

        load(settingsWith({{4, 0}}));
        QVERIFY(get<QRadioButton>("radioButton_modeloFreio")->isChecked());
        QVERIFY(get<QGroupBox>("groupBox_estacionar")->isEnabled());
        QVERIFY(spin->isEnabled());
        QCOMPARE(spin->value(), 0);
        QCOMPARE(record().settings[rereadsPlusOne], uint8_t(1));
        QVERIFY(get<QRadioButton>("radioButton_entrada")->isChecked());
    }

    void errorIndicatorAndSimpleBoxes()
    {
        auto *indicator = get<QComboBox>("comboBox_indicadorErro");
        load(settingsWith({{2, 0xD4}, {3, 0x55}, {5, 0x7F}}));
        QVERIFY(get<QCheckBox>("checkBox_indicaErro")->isChecked());
        QVERIFY(indicator->isEnabled());
        QCOMPARE(indicator->currentText(), QStringLiteral("BCKSPC"));
        QVERIFY(get<QCheckBox>("checkBox_tipoDecodificado")->isChecked());
        QVERIFY(get<QCheckBox>("checkBox_enviarQuestion")->isChecked());
        QVERIFY(get<QCheckBox>("checkBox_esperarDocumento")->isChecked());

        load(settingsWith({{2, 0xC4}, {3, 0x60}, {5, 0x41}}));
        QVERIFY(!get<QCheckBox>("checkBox_indicaErro")->isChecked());
        QVERIFY(!indicator->isEnabled());
        QCOMPARE(indicator->currentText(), QStringLiteral("BCKSPC"));
        QVERIFY(!get<QCheckBox>("checkBox_tipoDecodificado")->isChecked());
        QVERIFY(!get<QCheckBox>("checkBox_enviarQuestion")->isChecked());
        QVERIFY(get<QCheckBox>("checkBox_check2de5")->isChecked());
        QCOMPARE(record().settings[errorIndicatorChar], uint8_t(0x41));
    }

    void languageChangeRunsTheListHandlers()
    {
        load(settingsWith({{0, 0x25}, {1, 0x77}, {13, 0}, {15, 0x0D}, {16, 0x0A}}));
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window.get(), &change);
        // First entries: 115200, no parity, 7 bits, 1 stop bit, 18 per second, STX-D-ETX.
        QCOMPARE(record().settings[0], uint8_t(0x48));
        QCOMPARE(record().settings[1], uint8_t(0x37));
        QCOMPARE(settingBytes().mid(13, 4).toHex(), QByteArray("02000300"));
        QCOMPARE(profileName(), QByteArray("USERCONF"));
    }
};

QTEST_MAIN(FormRefreshTest)
#include "test_form_refresh.moc"
