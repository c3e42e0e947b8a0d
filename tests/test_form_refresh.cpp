#include "config_form_helpers.h"
#include "modal_responder.h"

#include <QCoreApplication>

class FormRefreshTest : public QObject
{
    Q_OBJECT

    ModalResponder responder; // outlives every window
    std::unique_ptr<MainWindow> window;

    void load(const QByteArray &changes, const QByteArray &name = "CLIENTE1")
    {
        QByteArray settings = defaultSettings();
        for (const auto &[item, op, value] : formItems(changes.constData()))
            settings.replace(item.mid(1).toInt(), value.size() / 2,
                             QByteArray::fromHex(value.toLatin1()));
        loadBlock(window.get(), serializedBlock(name, settings));
        QVERIFY(!window->fillingForm);
    }

    // Steps "changes > expected; ...": bytes loaded over the start-up settings.
    void run(const char *steps)
    {
        runSteps(window.get(), steps, [&](const QByteArray &changes) { load(changes); });
    }

private slots:
    void init() { window = makeWindow(QStringLiteral("/nonexistent/libhid_usb.so")); }

    void nameListsProtocolAndKeyboard()
    {
        run(" > lineEdit_cliente=CLIENTE1 P=CLIENTE1 actionTeclado:C "
            "s0=d2f7c44402213f09090909000d020003000203");
        // Serial: parity moves to "Ímpar", whose handler marks the record.
        run("s3=c4 > lineEdit_cliente=CLIENTE1 comboBox_paridade#1 P=USERCONF "
            "s0=d2f7c4c402213f09090909000d020003000203 actionSerial:C actionTeclado:c "
            "groupBox_CDC:E groupBox_teclado:e; s3=c4 > P=CLIENTE1");
        // A short name is shown up to its first zero byte.
        load("s3=c4", QByteArray("AB\0XYZ", 6));
        FORM_IS(window.get(), "lineEdit_cliente=AB");

        // Baud code 0 and parity 3, loaded twice; code 1 is the last entry, "1200".
        run("s0=b0 s3=c4 > comboBox_baud#6 comboBox_paridade#-1 s0&b7=80; s0=b0 s3=c4 > "
            "s0&30=30 P=CLIENTE1; s0=21 s3=c4 > comboBox_baud=1200 comboBox_paridade#2 "
            "comboBox_byte#1 comboBox_stopBits#0 s0=21");
        // Without a header the trailer decides; moving to STX-D-ETX rewrites the row.
        run("s3=c4 s15=0d0a s18=02 > comboBox_protocol#0 s13=02000d0a checkBox_bcc:EC "
            "comboBox_bcc:E checkBox_ackNak:c; s3=c4 s13=00 s15=000a s18=01 > "
            "comboBox_protocol=D-CR-LF s13=00000d0a checkBox_bcc:ec comboBox_bcc:e "
            "checkBox_ackNak:c; s3=c4 s13=00 s15=0d00 > comboBox_protocol=D-CR; s3=c4 s13=00 "
            "s15=0000 > comboBox_protocol=NENHUM; s3=c4 s13=02 s15=0d00 > comboBox_protocol#0 "
            "s13=02000300 P=USERCONF checkBox_ackNak:C");

        editForm(window.get(), "comboBox_baud#2");
        // Speed 1, SKM on, CR off.
        run("s0=21 s1=4c > comboBox_baud#2 comboBox_velocidade#1 checkBox_SKM:C checkBox_CR:c "
            "s0=214c");
    }

    void separatorsBoxesTractionAndLanguageChange()
    {
        // Typed mode, so the separators are in use; no item stands for 05 or 80.
        run("s1=f3 s7=05 s9=1e s11=80 > comboBox_bbSep1#-1 comboBox_concSep1=TAB "
            "comboBox_CR#-1 s7=05 s9=1e s11=80 P=CLIENTE1");
        // Choosing "Como digitado" takes the empty list as 0x1C.
        editForm(window.get(), "radioButton_leituraDigitado!");
        FORM_IS(window.get(), "s7=1c s9=09");
        run("s3=04 > radioButton_eng:C radioButton_abnt:c; > radioButton_abnt:C; s5=21 s6=23 "
            "s7=25 s8=26 s9=28 s10=29 s11=2b s12=2d > comboBox_indicadorErro=! "
            "comboBox_erroCMC7=# comboBox_bbSep1=% comboBox_bbSep2=& comboBox_concSep1=( "
            "comboBox_concSep2=) comboBox_CR=+ comboBox_separadorCMC7=-");

        // Without verification neither the separator nor the letters are offered.
        run("s2=c5 s3=4a s12=2a > checkBox_checkCMC7:C checkBox_separadorCMC7:EC "
            "comboBox_separadorCMC7:E comboBox_separadorCMC7=* checkBox_subPorLetra:EC; s2=c4 "
            "s3=48 > checkBox_separadorCMC7:Ec comboBox_separadorCMC7:e checkBox_subPorLetra:Ec; "
            "s2=cf s3=42 s6=23 > checkBox_checkCMC7:c checkBox_separadorCMC7:ec "
            "comboBox_separadorCMC7:e checkBox_subPorLetra:ec checkBox_recuperarCMC7:C "
            "checkBox_enviarInvertido:C comboBox_erroCMC7=# s2=cf");
        // Typed without the check digit, the boxes show their bits but are locked.
        run("s1=f3 > radioButton_leituraDigitado:C groupBox_bbSep:E groupBox_cpSep:E "
            "checkBox_digitoBarras:EC checkBox_valor:EC checkBox_zeros:EC; s1=f1 s2=c0 > "
            "checkBox_digitoBarras:Ec checkBox_valor:eC checkBox_zeros:ec; s1=f7 > "
            "radioButton_leituraOptica:C groupBox_bbSep:e checkBox_digitoBarras:e "
            "checkBox_valor:ec checkBox_zeros:ec s1=f7");

        // Tray model, no document stop, park at exit: spin box keeps its value.
        run("s4=09 > spinBox_releituras#3 s4=04 P=USERCONF; s4=09 > s4=09 P=CLIENTE1; s2=24 "
            "s4=00 > radioButton_modeloBandeja:C groupBox_estacionar:e checkBox_freio:c "
            "spinBox_releituras:e spinBox_releituras#3 radioButton_saida:C s4=00; s4=00 > "
            "radioButton_modeloFreio:C groupBox_estacionar:E spinBox_releituras:E "
            "spinBox_releituras#0 s4=01 radioButton_entrada:C");
        run("s2=d4 s3=55 s5=7f > checkBox_indicaErro:C comboBox_indicadorErro:E "
            "comboBox_indicadorErro=BCKSPC checkBox_tipoDecodificado:C checkBox_enviarQuestion:C "
            "checkBox_esperarDocumento:C; s2=c4 s3=60 s5=41 > checkBox_indicaErro:c "
            "comboBox_indicadorErro:e comboBox_indicadorErro=BCKSPC checkBox_tipoDecodificado:c "
            "checkBox_enviarQuestion:c checkBox_check2de5:C s5=41");

        load("s0=25 s1=77 s13=00 s15=0d0a");
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window.get(), &change);
        // First entries: 115200, no parity, 7 bits, 1 stop bit, 18 per second, STX-D-ETX.
        FORM_IS(window.get(), "s0=48 s1=37 s13=02000300 P=USERCONF");
    }
};

QTEST_MAIN(FormRefreshTest)
#include "test_form_refresh.moc"
