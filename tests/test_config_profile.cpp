// Configurations as text and JSON profiles: the round trip of every record the
// form makes, the words of values no item stands for, bad profiles, and
// settings by name performed on the form model.
#include "config/config_file_format.h"
#include "config/config_profile.h"
#include "config/form_settings.h"
#include "config_form_steps.h"
#include "random_operator.h"

#include <QJsonDocument>

namespace {
QByteArray fileImage(const ConfigRecord &record)
{
    uint8_t bytes[CONFIG_FILE_SIZE] = {CONFIG_FILE_COUNT};
    record.serialize(bytes + 1);
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes);
}

// The record a text or JSON profile gives back, or a note of what went wrong.
QByteArray roundTrip(const QByteArray &profile)
{
    Profile read;
    QString error;
    if (!isProfile(profile) || !readProfile(profile, &read, &error))
        return "unread: " + error.toUtf8();
    if (!read.complete())
        return "incomplete";
    return fileImage(read.record());
}

QByteArray asText(const ConfigRecord &record)
{
    return profileLines(record).join('\n').toUtf8() + '\n';
}

QByteArray asJson(const ConfigRecord &record)
{
    return QJsonDocument(QJsonObject{{"config", profileJson(record)}}).toJson();
}

ConfigForm loadedForm(const QByteArray &settings)
{
    ConfigForm form;
    const QByteArray block = serializedBlock("FABRICA", settings);
    form.load(reinterpret_cast<const uint8_t *>(block.constData()));
    return form;
}

// "name=value name=value" ("_" a space), performed in order; the first refusal.
QString perform(ConfigForm &form, const char *settings)
{
    for (const auto &[name, op, value] : formItems(settings)) {
        const FormField *field =
            fieldNamed(QString(name).replace(QLatin1Char('_'), QLatin1Char(' ')));
        FieldValue read;
        if (!field || !parseFieldValue(*field, value, &read))
            return QStringLiteral("unknown %1=%2").arg(name, value);
        QString why;
        if (!performSetting(form, *field, read, &why))
            return why;
    }
    return {};
}
} // namespace

class ConfigProfileTest : public QObject
{
    Q_OBJECT

private slots:
    void everyRecordOfTheFormSurvivesTextAndJson()
    {
        QRandomGenerator random(25);
        ConfigForm form;
        for (int record = 0; record < 10000; ++record) {
            for (int step = random.bounded(1, 4); step > 0; --step)
                randomOperatorAction(form, random);
            const QByteArray image = fileImage(form.recordToSave());
            QCOMPARE(roundTrip(asText(form.record())).toHex(' '), image.toHex(' '));
            QCOMPARE(roundTrip(asJson(form.record())).toHex(' '), image.toHex(' '));
        }
    }

    void valuesNoItemStandsForReadBack_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("shown");
        const QByteArray d = defaultSettings();
        auto row = [&](const char *name, QByteArray block, const char *shown) {
            QTest::newRow(name) << block << QString::fromUtf8(shown);
        };
        row("name that is text", serializedBlock("LOJA 1", d), "  Cliente: LOJA 1\n");
        row("name with a byte after its end", serializedBlock(QByteArray("AB\0C", 4), d),
            "  Cliente: (bytes 41 42 00 43 00 00 00 00)\n");
        row("name with a space at its end", serializedBlock("AB ", d),
            "  Cliente: (bytes 41 42 20 00 00 00 00 00)\n");
        row("name in Latin-1", serializedBlock("JO\xC3O", d), "  Cliente: JOÃO\n");
        row("name with a control byte", serializedBlock("A\x01", d), "(bytes 41 01 00");
        row("speed code no item stands for", serializedBlock("", "\xD0" + d.mid(1)),
            "  Baudrate: 0x00 (fora da lista)\n");
        row("parity 3", serializedBlock("", "\xF2" + d.mid(1)), "  Paridade: 0x03 (fora da lista)");
        row("a code that only looks like TAB", serializedBlock("", d.left(11) + "\x1E" + d.mid(12)),
            "  Caractere antes de CR: 0x1E (fora da lista)\n");
        row("a code above the list", serializedBlock("", d.left(5) + "\x80" + d.mid(6)),
            "  Indicador de erro: 0x80 (fora da lista)\n");
        row("rereads out of range", serializedBlock("", d.left(4) + "\x09" + d.mid(5)),
            "  Número de releituras: 0x09 (fora da faixa)\n");
        row("a protocol's odd bytes",
            serializedBlock("", d.left(13) + "\x02\x05\x03\x07" + d.mid(17)),
            "  Protocolo: STX-D-ETX (bytes 02 05 03 07)\n");
        row("reserved bits", serializedBlock("", d.left(18) + "\xFF"),
            "  Byte 18, bits 2 a 7: 63\n");
    }

    void valuesNoItemStandsForReadBack()
    {
        QFETCH(QByteArray, block);
        QFETCH(QString, shown);
        ConfigRecord record;
        record.deserialize(reinterpret_cast<const uint8_t *>(block.constData()));
        const QByteArray text = asText(record);
        QVERIFY2(text.contains(shown.toUtf8()), text.constData());
        QCOMPARE(roundTrip(text).toHex(' '), fileImage(record).toHex(' '));
        QCOMPARE(roundTrip(asJson(record)).toHex(' '), fileImage(record).toHex(' '));
    }

    void badProfilesNameTheirLine_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QString>("error");
        auto row = [](const char *name, const char *profile, const char *error) {
            QTest::newRow(name) << QByteArray(profile) << QString::fromUtf8(error);
        };
        row("unknown name", "Geral\n  Cor: azul\n", "linha 2: campo desconhecido: \"Cor\"");
        row("bad value", "\n  Habilitar SKM: talvez",
            "linha 2: valor inválido para Comunicação Teclado/Habilitar SKM: \"talvez\" (aceitos: "
            "sim ou não)");
        row("a line that is no field", "Comunicação Serial\n  Baudrate 9600\n",
            "linha 2: \"Baudrate 9600\" não é um campo");
        row("an unknown group", "Impressora\n", "linha 1: \"Impressora\" não é um campo");
        row("duplicate field",
            "baudCode: 9600\n# mais tarde\nComunicação Serial\n  Baudrate: 2400\n",
            "linha 4: Comunicação Serial/Baudrate repetido (já na linha 1)");
        row("a label two groups share", "1º separador: TAB\n",
            "linha 1: \"1º separador\" é ambíguo: Boleto Bancário/1º separador ou "
            "Concessionárias/1º separador");
        row("a name too long", "  Cliente: NOME LONGO\n",
            "linha 1: valor inválido para Configuração/Cliente");
        row("protocol bytes of another choice", "protocol: D-CR (bytes 02 00 03 00)\n",
            "linha 1: valor inválido para Comunicação Serial/Protocolo");
        row("reserved bits beyond their field", "reservedByte1Bit4: 2\n",
            "linha 1: valor inválido para Reservado/Byte 1, bit 4");
        row("JSON that does not parse", "{\n  \"fields\": [\n    {\"key\": \"skm\",\n}",
            "linha 4: JSON inválido");
        row("JSON without fields", "{\"schema\": 1}", "linha 1: JSON sem a lista \"fields\"");
        row("JSON with a bad value",
            "{\"fields\": [\n  {\"key\": \"skm\", \"value\": \"sim\"},\n  {\"key\": \"parity\", "
            "\"value\": \"Talvez\"}\n]}",
            "linha 3: valor inválido para Comunicação Serial/Paridade");
    }

    void badProfilesNameTheirLine()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QString, error);
        QVERIFY(isProfile(profile));
        Profile read;
        read.settings.append({7, &formFields()[0], {}});
        QString why;
        QVERIFY(!readProfile(profile, &read, &why));
        QVERIFY2(why.startsWith(error), qPrintable(why));
        QCOMPARE(read.settings.size(), 1); // untouched
    }

    void profilesAreToldFromFilesByContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("profile");
        QTest::newRow("a saved file") << fileImage(ConfigRecord{}) << false;
        QTest::newRow("an empty file") << QByteArray() << false;
        QTest::newRow("a short file of letters after a count") << QByteArray("\x05"
                                                                             "ABCDEF")
                                                               << false;
        QTest::newRow("text with a BOM and CRLF") << QByteArray("\xEF\xBB\xBFskm: sim\r\n") << true;
        QTest::newRow("JSON") << QByteArray(" {\"fields\": []}") << true;
    }

    void profilesAreToldFromFilesByContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, profile);
        QCOMPARE(isProfile(content), profile);
    }

    void partialProfilesAreSettingsInTheirOrder()
    {
        Profile read;
        QString why;
        QVERIFY2(readProfile("# loja 12\r\nComunicação Teclado\r\n  Habilitar SKM: sim\r\n"
                             "Barras/Modo de envio: Como digitado\n"
                             "Concessionárias/2º separador: ;\n",
                             &read, &why),
                 qPrintable(why));
        QVERIFY(!read.complete());
        ConfigForm form = loadedForm(defaultSettings());
        QVERIFY2(performProfile(form, read, &why), qPrintable(why));
        FORM_IS(&form, "s1&0c=08 s10=3b P=USERCONF");

        QVERIFY(readProfile("Concessionárias\n  2º separador: ;\n", &read, &why));
        form = loadedForm(defaultSettings());
        QVERIFY(!performProfile(form, read, &why));
        QVERIFY2(why.startsWith(QString::fromUtf8("linha 2: Concessionárias/2º separador: "
                                                  "desabilitado no formulário: depende de "
                                                  "Barras/Modo de envio = Como digitado")),
                 qPrintable(why));
    }

    void settingsFollowTheForm_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("expected"); // record items, or the start of a refusal
        const QByteArray d = defaultSettings();
        const QByteArray serial = "\xD2\xF7\xC4\xC4" + d.mid(4);
        auto row = [&](const char *name, const QByteArray &settings, const char *given,
                       const char *expected) {
            QTest::newRow(name) << settings << QString::fromUtf8(given)
                                << QString::fromUtf8(expected);
        };
        row("keyboard settings", d, "skm=sim charBeforeCr=TAB", "s1&08=08 s11=09 P=USERCONF");
        row("a serial setting in keyboard mode", d, "baudCode=9600",
            "Comunicação Serial/Baudrate: desabilitado no formulário: depende de "
            "Configuração/Dispositivo = Serial (cdcInterface=Serial)");
        row("serial enabled first", d, "cdcInterface=Serial baudCode=9600 parity=Par",
            "s0=e4 s3&80=80");
        row("the name after a setting", d, "skm=sim profileName=LOJA", "P=LOJA");
        row("a setting after the name", d, "profileName=LOJA skm=sim", "P=USERCONF");
        row("the name as bytes", d, "profileName=(bytes_41_42_20_00_00_00_00_00)", "P=AB_");
        row("bank slip separators while read optically", d, "Boleto_Bancário/1º_separador=ENTER",
            "Boleto Bancário/1º separador: desabilitado no formulário: depende de Barras/Modo de "
            "envio = Como digitado");
        row("as typed first", d, "opticalMode=Como_digitado Boleto_Bancário/1º_separador=ENTER",
            "s7=0d s8=09");
        row("a chain of options", d, "sendValue=não",
            "Barras/Enviar valor: desabilitado no formulário: depende de Barras/Enviar dígito "
            "geral = sim (sendCheckDigit=sim); Barras/Enviar dígito geral: desabilitado");
        row("the chain followed", d,
            "opticalMode=Como_digitado sendCheckDigit=sim sendValue=sim sendZeros=não",
            "s1&07=01 s2&04=04");
        row("the hidden BCC list", serial, "bccInitialValue=05",
            "Protocolo/Valor inicial: não está no formulário");
        row("reserved bits", d, "reservedByte18Bits2to7=1",
            "Reservado/Byte 18, bits 2 a 7: bits reservados");
        row("a box the form keeps disabled", d, "waitForDocument=sim",
            "Geral/Esperar documento: o formulário o mantém desabilitado");
        row("a value the form does not offer", d, "charBeforeCr=0x05",
            "Comunicação Teclado/Caractere antes de CR: o formulário não oferece esse valor");
        row("the CMC-7 separator", d,
            "cmc7VerifyCheckDigit=sim cmc7SendSeparator=sim cmc7SeparatorChar=A",
            "s2&01=01 s12=41");
        row("BCC with another framing",
            serial.left(13) + QByteArray("\0\0\x0D\0", 4) + serial.mid(17), "bccEnabled=sim",
            "Protocolo/Enviar BCC: desabilitado no formulário: depende de Comunicação "
            "Serial/Protocolo = STX-D-ETX");
        row("the spin box", d, "rereadsPlusOne=3", "s4=04");
        // The speed list stays where it was for code 0: it is moved away and back.
        row("a list that shows the value the record lacks", "\xD0" + serial.mid(1), "baudCode=2400",
            "s0&0f=02");
        row("a parking choice with a tray", d, "trayModel=Com_bandeja parkAtEntry=Saída",
            "Tracionamento/Estacionar documento: desabilitado no formulário: depende de "
            "Tracionamento/Modelo = Freio (trayModel=Freio) e Tracionamento/Habilitar parada do "
            "documento = sim");
        row("the tray model", d, "trayModel=Com_bandeja", "s2&e0=a0");
    }

    void settingsFollowTheForm()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QString, given);
        QFETCH(QString, expected);
        ConfigForm form = loadedForm(settings);
        const QString refusal = perform(form, given.toUtf8().constData());
        static const QRegularExpression recordItems(QStringLiteral("^(s\\d+(&\\w+)?|P)="));
        if (recordItems.match(expected).hasMatch()) {
            QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
            FORM_IS(&form, expected.toUtf8().constData());
        } else {
            QVERIFY2(refusal.startsWith(expected), qPrintable(refusal));
        }
    }
};

QTEST_GUILESS_MAIN(ConfigProfileTest)
#include "test_config_profile.moc"
