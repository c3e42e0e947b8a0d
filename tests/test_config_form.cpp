// The editing rules and the form refresh, on the form model without a window.
#include "config_form_steps.h"

namespace {
// Every setting byte differs from its neighbours, so a stray write shows.
const QByteArray pattern = QByteArray::fromHex("a55aa55aa55aa55aa55aa55aa55aa55aa55aa5");
const QByteArray inverse = QByteArray::fromHex("5aa55aa55aa55aa55aa55aa55aa55aa55aa55a");

const QByteArray onPattern = "s0=" + pattern.toHex() + " P= ";

QByteArray settingBytes(const ConfigForm &form)
{
    return QByteArray(reinterpret_cast<const char *>(form.record().settings), CONFIG_SETTINGS_SIZE);
}
} // namespace

class ConfigFormTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ConfigForm> form;

    void run(const QByteArray &steps)
    {
        runSteps(form.get(), steps.constData(),
                 [&](const QByteArray &edits) { editModel(form.get(), edits.constData()); });
    }

    // Loads the start-up settings with these bytes changed ("sN=HEX ...").
    void load(const QByteArray &changes, const QByteArray &name = "CLIENTE1")
    {
        QByteArray block =
            name.leftJustified(CONFIG_NAME_SIZE, '\0', true) +
            QByteArray(reinterpret_cast<const char *>(DEFAULT_SETTINGS), CONFIG_SETTINGS_SIZE);
        for (const auto &[item, op, value] : formItems(changes.constData()))
            block.replace(int(CONFIG_NAME_SIZE) + item.mid(1).toInt(), value.size() / 2,
                          QByteArray::fromHex(value.toLatin1()));
        form->load(reinterpret_cast<const uint8_t *>(block.constData()));
        QVERIFY(!form->fillingForm());
    }

    // Steps "changes > expected; ...": bytes loaded over the start-up settings.
    void refresh(const char *steps)
    {
        runSteps(form.get(), steps, [&](const QByteArray &changes) { load(changes); });
    }

private slots:
    void init() { form = std::make_unique<ConfigForm>(); }

    void oneBitControlsChangeOnlyTheirBit()
    {
        // name=BYTE&MASK: a box, whose bit follows it; "/V": a radio button's bit value.
        for (const auto &[name, op, value] : formItems(
                 "checkBox_SKM=1&08 checkBox_CR=1&20 checkBox_zeros=1&02 "
                 "checkBox_recuperarCMC7=2&02 "
                 "checkBox_enviarInvertido=2&08 checkBox_tipoDecodificado=3&01 "
                 "checkBox_subPorLetra=3&02 checkBox_enviarQuestion=3&04 "
                 "checkBox_esperarDocumento=3&10 checkBox_check2de5=3&20 checkBox_ackNak=18&01 "
                 "radioButton_eng=3&40/0 radioButton_abnt=3&40/1 radioButton_saida=2&40/0 "
                 "radioButton_entrada=2&40/1")) {
            const int byte = value.section('&', 0, 0).toInt();
            const int mask = value.section('&', 1).section('/', 0, 0).toInt(nullptr, 16);
            for (QByteArray bytes : {pattern, pattern, inverse}) {
                editModel(form.get(),
                          ("s0=" + bytes.toHex() + " P= " + name.toLatin1() + '!').constData());
                const bool on = value.contains('/') ? value.endsWith('1')
                                                    : form->state(namedControl(name)).checked;
                bytes[byte] = static_cast<char>(on ? bytes[byte] | mask : bytes[byte] & ~mask);
                QVERIFY2(settingBytes(*form) == bytes, qPrintable(name));
                QCOMPARE(form->record().displayName(), QStringLiteral("USERCONF"));
            }
        }
    }

    void listsAndSpinBoxStoreTheirValue()
    {
        // The lists of bytes 5 to 12 in order.
        auto all = [](int position) {
            return QStringLiteral(
                       "comboBox_indicadorErro#%1 comboBox_erroCMC7#%1 comboBox_bbSep1#%1 "
                       "comboBox_bbSep2#%1 comboBox_concSep1#%1 comboBox_concSep2#%1 "
                       "comboBox_CR#%1 comboBox_separadorCMC7#%1 ")
                .arg(position)
                .toUtf8();
        };
        run("filling=1 " + all(33) +
            "comboBox_bcc#126 > s0=d2f7c44402213f09090909000d020003000203 P=; filling=0 " + all(3) +
            " > s5=2020202020202020; " + all(98) +
            " > s5=7f7f7f7f7f7f7f7f; comboBox_bcc#195 > s17=c3 P=USERCONF");

        // Pattern byte 0: code 5, parity 2, 8 bits, 2 stop bits.
        run(onPattern +
            "comboBox_velocidade#2 > s1=9a; comboBox_velocidade#3 > s1=da; "
            "comboBox_baud#0 > s0=a8; comboBox_baud#7 > s0=a1; comboBox_paridade#1 > s0=91; "
            "comboBox_byte#1 comboBox_byte#0 > s0=d1; comboBox_byte#1 > s0=91; "
            "comboBox_stopBits#0 > s0=11 s2=a55aa55aa55aa55aa55aa55aa55aa55aa5 P=USERCONF; "
            // No selection: the rules' fallbacks.
            "comboBox_velocidade#-1 comboBox_baud#-1 comboBox_paridade#-1 > ; "
            "comboBox_stopBits#-1 comboBox_protocol#-1 > s1=1a s0=80 s13=00000000; "
            "comboBox_protocol#1 > s13=00000d0a; comboBox_protocol#2 > s13=00000d00; "
            "comboBox_protocol#0 > s13=02000300; comboBox_protocol#3 > s12=a5000000005a");
        run("P= spinBox_releituras#3 > s4=04 P=USERCONF");
    }

    void sendModeAmountZerosCheckDigitsErrorAndBlockCheck()
    {
        run("comboBox_bbSep1#4 comboBox_bbSep2#3 comboBox_concSep1#98 comboBox_concSep2#2 "
            "radioButton_leituraOptica! > s7=00000000 s1&07=04 s2&04=00 checkBox_digitoBarras:ec "
            "checkBox_valor:ec checkBox_zeros:ec groupBox_bbSep:e comboBox_bbSep1#4; "
            // The check digit is still off, so amount and zeros stay out of reach.
            "radioButton_leituraDigitado! > s7=21207f0d s1&04=00 checkBox_digitoBarras:E "
            "groupBox_cpSep:E checkBox_valor:e");
        // A list left without a selection gives 0x1C.
        run("filling=1 comboBox_bbSep1#-1 filling=0 radioButton_leituraOptica! "
            "radioButton_leituraDigitado! > s7=1c");

        run("radioButton_leituraDigitado! checkBox_digitoBarras! > s2&04=04 checkBox_valor:E "
            "checkBox_zeros:E; checkBox_zeros! checkBox_valor! > s1&03=03; "
            // Amount off: zeros go, the box stays.
            "checkBox_valor! > s1&03=00 checkBox_zeros:C; "
            "checkBox_zeros! checkBox_zeros! > s1&03=02; checkBox_valor! > s1&03=03; "
            // Off: both boxes go, their bits stay.
            "checkBox_digitoBarras! > s2&04=00 s1&03=03 checkBox_valor:ec checkBox_zeros:ec");

        // Byte 12 takes the list's character (ENTER from start-up); reversed cleared.
        run("s2=ce s12=55 checkBox_checkCMC7! > s3&08=08 s2&0b=02 checkBox_separadorCMC7:E "
            "comboBox_separadorCMC7:e checkBox_subPorLetra:E s12=0d; "
            "comboBox_separadorCMC7#5 s12=55 checkBox_separadorCMC7! > s2&01=01 s12=22 "
            "comboBox_separadorCMC7:E; "
            "checkBox_separadorCMC7! > s2&01=00 s12=22 comboBox_separadorCMC7:e; "
            // Off: separator and letters kept, their boxes out of reach.
            "checkBox_separadorCMC7! checkBox_subPorLetra! checkBox_checkCMC7! > s2&03=01 "
            "s3&0a=02 checkBox_separadorCMC7:ec checkBox_subPorLetra:ec comboBox_separadorCMC7:e "
            "checkBox_recuperarCMC7:E");

        // The hidden BCC list still stands where start-up put it.
        run("comboBox_indicadorErro#33 s5=11 checkBox_indicaErro! > s2&10=10 s5=3e "
            "comboBox_indicadorErro:E; checkBox_indicaErro! > s2&10=00 s5=00 "
            "comboBox_indicadorErro:e comboBox_indicadorErro#33; checkBox_indicaErro! > s5=3e; "
            "checkBox_bcc! > s17=00 s18=01 comboBox_bcc:e; checkBox_bcc! > s17=02 s18=03 "
            "comboBox_bcc:E; comboBox_protocol#2 > s18=03 checkBox_bcc:C");
    }

    void modelBrakeParkingAndLinkActions()
    {
        run("spinBox_releituras#3 > s4=04; "
            // Tray, not at entry, stop; parking stays off on the tray model.
            "radioButton_modeloBandeja! > s2&e0=a0 s4=04 groupBox_estacionar:e; "
            "checkBox_freio! > s2&80=00 s4=01 spinBox_releituras:e groupBox_estacionar:e; "
            "radioButton_modeloBandeja! > s2&e0=20 s4=01; "
            "radioButton_modeloFreio! > s2&e0=40 s4=01 groupBox_estacionar:e "
            "spinBox_releituras:e; checkBox_freio! > s2&80=80 s4=04 spinBox_releituras:E; "
            "radioButton_modeloFreio! > s2&e0=80 s4=04 groupBox_estacionar:E; "
            // Off with "Saída": parking disabled, bit kept.
            "radioButton_saida! checkBox_freio! > s2&c0=00 groupBox_estacionar:e; "
            "radioButton_entrada! > ");
        // Off with "Entrada": parking enabled, at entry.
        run("checkBox_freio! > groupBox_estacionar:e; "
            "checkBox_freio! > s2&c0=40 s4=01 groupBox_estacionar:E");

        editModel(form.get(), "comboBox_CR#33 comboBox_velocidade#2 checkBox_SKM! checkBox_CR!");
        // CR on, SKM off, speed 0; the CDC interface chosen.
        run(onPattern +
            "s1=37 s3=da actionTeclado! > actionTeclado:C actionSerial:c groupBox_teclado:E "
            "groupBox_CDC:e s3&80=00 s1=9f s11=3e s0=a5 P=USERCONF");

        // Raised guard: the character before CR is left alone.
        run("s11=11 filling=1 actionTeclado! filling=0 > s11=11");

        // 2400 bit/s, no parity, 7 data bits, 2 stop bits; BCC from the hidden list; ACK/NAK.
        run(onPattern +
            "actionSerial! > actionSerial:C actionTeclado:c groupBox_teclado:e groupBox_CDC:E "
            "comboBox_bcc:E s0=c2 s3=da s17=02 s18=a7 s4=a55aa55aa55aa55aa55aa55aa5 P=USERCONF");
        form->chooseSerial(12);
        QCOMPARE(form->serialPort(), 12);
        run("checkBox_bcc! checkBox_ackNak! actionSerial! > s18&03=00 s17=00 actionSerial:C");
        QCOMPARE(form->serialPort(), 0);
    }
    void nameListsProtocolAndKeyboard()
    {
        refresh(" > lineEdit_cliente=CLIENTE1 P=CLIENTE1 actionTeclado:C "
                "s0=d2f7c44402213f09090909000d020003000203");
        // Serial: parity moves to "Ímpar", whose handler marks the record.
        refresh("s3=c4 > lineEdit_cliente=CLIENTE1 comboBox_paridade#1 P=USERCONF "
                "s0=d2f7c4c402213f09090909000d020003000203 actionSerial:C actionTeclado:c "
                "groupBox_CDC:E groupBox_teclado:e; s3=c4 > P=CLIENTE1");
        // A short name is shown up to its first zero byte.
        load("s3=c4", QByteArray("AB\0XYZ", 6));
        FORM_IS(form.get(), "lineEdit_cliente=AB");

        // Baud code 0 and parity 3, loaded twice; code 1 is the last entry, "1200".
        refresh("s0=b0 s3=c4 > comboBox_baud#6 comboBox_paridade#-1 s0&b7=80; s0=b0 s3=c4 > "
                "s0&30=30 P=CLIENTE1; s0=21 s3=c4 > comboBox_baud=1200 comboBox_paridade#2 "
                "comboBox_byte#1 comboBox_stopBits#0 s0=21");
        // Without a header the trailer decides; moving to STX-D-ETX rewrites the row.
        refresh("s3=c4 s15=0d0a s18=02 > comboBox_protocol#0 s13=02000d0a checkBox_bcc:EC "
                "comboBox_bcc:E checkBox_ackNak:c; s3=c4 s13=00 s15=000a s18=01 > "
                "comboBox_protocol=D-CR-LF s13=00000d0a checkBox_bcc:ec comboBox_bcc:e "
                "checkBox_ackNak:c; s3=c4 s13=00 s15=0d00 > comboBox_protocol=D-CR; s3=c4 s13=00 "
                "s15=0000 > comboBox_protocol=NENHUM; s3=c4 s13=02 s15=0d00 > comboBox_protocol#0 "
                "s13=02000300 P=USERCONF checkBox_ackNak:C");

        editModel(form.get(), "comboBox_baud#2");
        // Speed 1, SKM on, CR off.
        refresh("s0=21 s1=4c > comboBox_baud#2 comboBox_velocidade#1 checkBox_SKM:C checkBox_CR:c "
                "s0=214c");
    }

    void separatorsBoxesAndTraction()
    {
        // Typed mode, so the separators are in use; no item stands for 05 or 80.
        refresh("s1=f3 s7=05 s9=1e s11=80 > comboBox_bbSep1#-1 comboBox_concSep1=TAB "
                "comboBox_CR#-1 s7=05 s9=1e s11=80 P=CLIENTE1");
        // Choosing "Como digitado" takes the empty list as 0x1C.
        editModel(form.get(), "radioButton_leituraDigitado!");
        FORM_IS(form.get(), "s7=1c s9=09");
        refresh("s3=04 > radioButton_eng:C radioButton_abnt:c; > radioButton_abnt:C; s5=21 s6=23 "
                "s7=25 s8=26 s9=28 s10=29 s11=2b s12=2d > comboBox_indicadorErro=! "
                "comboBox_erroCMC7=# comboBox_bbSep1=% comboBox_bbSep2=& comboBox_concSep1=( "
                "comboBox_concSep2=) comboBox_CR=+ comboBox_separadorCMC7=-");

        // Without verification neither the separator nor the letters are offered.
        refresh(
            "s2=c5 s3=4a s12=2a > checkBox_checkCMC7:C checkBox_separadorCMC7:EC "
            "comboBox_separadorCMC7:E comboBox_separadorCMC7=* checkBox_subPorLetra:EC; s2=c4 "
            "s3=48 > checkBox_separadorCMC7:Ec comboBox_separadorCMC7:e checkBox_subPorLetra:Ec; "
            "s2=cf s3=42 s6=23 > checkBox_checkCMC7:c checkBox_separadorCMC7:ec "
            "comboBox_separadorCMC7:e checkBox_subPorLetra:ec checkBox_recuperarCMC7:C "
            "checkBox_enviarInvertido:C comboBox_erroCMC7=# s2=cf");
        // Typed without the check digit, the boxes show their bits but are locked.
        refresh("s1=f3 > radioButton_leituraDigitado:C groupBox_bbSep:E groupBox_cpSep:E "
                "checkBox_digitoBarras:EC checkBox_valor:EC checkBox_zeros:EC; s1=f1 s2=c0 > "
                "checkBox_digitoBarras:Ec checkBox_valor:eC checkBox_zeros:ec; s1=f7 > "
                "radioButton_leituraOptica:C groupBox_bbSep:e checkBox_digitoBarras:e "
                "checkBox_valor:ec checkBox_zeros:ec s1=f7");

        // Tray model, no document stop, park at exit: spin box keeps its value.
        refresh("s4=09 > spinBox_releituras#3 s4=04 P=USERCONF; s4=09 > s4=09 P=CLIENTE1; s2=24 "
                "s4=00 > radioButton_modeloBandeja:C groupBox_estacionar:e checkBox_freio:c "
                "spinBox_releituras:e spinBox_releituras#3 radioButton_saida:C s4=00; s4=00 > "
                "radioButton_modeloFreio:C groupBox_estacionar:E spinBox_releituras:E "
                "spinBox_releituras#0 s4=01 radioButton_entrada:C");
        refresh(
            "s2=d4 s3=55 s5=7f > checkBox_indicaErro:C comboBox_indicadorErro:E "
            "comboBox_indicadorErro=BCKSPC checkBox_tipoDecodificado:C checkBox_enviarQuestion:C "
            "checkBox_esperarDocumento:C; s2=c4 s3=60 s5=41 > checkBox_indicaErro:c "
            "comboBox_indicadorErro:e comboBox_indicadorErro=BCKSPC checkBox_tipoDecodificado:c "
            "checkBox_enviarQuestion:c checkBox_check2de5:C s5=41");
    }
};

QTEST_MAIN(ConfigFormTest)
#include "test_config_form.moc"
