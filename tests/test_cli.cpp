// velorix-cli as built: over HID against the simulated library beside it (a
// fresh state file per case), and over a pty against this process's reader.
#include "platform/serial_device.h"
#include "sim/pty_reader.h"
#include "sim/reader_state.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/stat.h>
#include <tuple>

namespace {
constexpr int READER_RATE = 115200; // the shortest answer wait, for quick exchanges
const QByteArray factory =
    QByteArray("FABRICA\0", 8) + QByteArray::fromHex("D2F7C444 02213F09 09090900 0D020003 000203");

// The factory's with SKM on and TAB before CR, set by name.
const QByteArray skmAndTab =
    "USERCONF" + QByteArray::fromHex("D2FFC444 02213F09 09090909 0D020003 000203");

// 9600 baud, odd parity, 7 bits, and ENTER as the bank slip's first separator.
const QByteArray changed =
    "USERCONF" + QByteArray::fromHex("54F7C444 02213F0D 09090900 0D020003 000203");

enum class Link
{
    Hid,       // the simulated HID library beside the program
    NoLibrary, // the program alone in its folder
    Pty,       // --port: the pty reader of this process
};

// One run: arguments split at spaces ({dir}: the case's folder, {pty}: the
// reader's device), exit code, fragments of standard output and JSON fields
// ("key=value" or "a.b=value") split at '|', a fragment of standard error,
// and the file of the case's folder given on standard input.
struct Run
{
    const char *args;
    int exitCode;
    const char *out = "";
    const char *err = "";
    const char *json = "";
    const char *in = nullptr;
};

enum Flag
{
    CDC_READER = 1,       // the reader's record selects its CDC interface
    READER_UNTOUCHED = 2, // nothing reaches the reader's state file
    HOLD_PORT = 4,        // another program holds the port
    REWORKS_CONFIG = 8,   // the reader changes a byte of what it is sent
    TRACE_LIBRARIES = 16, // the loader's trace must show no widget library
    OUT_FILE = 32,        // the bytes expected are those of {dir}/out.cfg, not the reader's
    // The technician's check: the reader (9600 8N1, CMC-7 fields separated by
    // TAB, framed D-CR-LF) reads a cheque once "Aguardando dados" shows; the
    // program is stopped (Ctrl+C, SIGINT) after one line, which starts the output.
    WATCH = 64,
    // Three readers behind the library (serial numbers 000001 to 000003, USB
    // ports 1-1 to 1-3): the second ends with the configuration expected,
    // the others as they were; with EVERY_READER all three do.
    THREE_READERS = 128,
    EVERY_READER = 256,
    // A sysfs with a CDC port of the reader's ids (ttyACM31 on USB port
    // 1-4) and one of another device's.
    CDC_SYSFS = 512,
    // The program is stopped with SIGTERM, not SIGINT.
    BY_SIGTERM = 1024,
    // The pty reader stays silent; the program is stopped once it waits.
    STOP_WAITING = 2048,
    NO_STDERR = 4096, // nothing at all on standard error
};

struct Case
{
    const char *name;
    Link link;
    QList<Run> runs;
    QByteArray expected; // the reader's stored configuration afterwards, or see OUT_FILE
    int flags;
};

QList<Case> cases()
{
    const char *usage = "Veja velorix-cli --help.";
    QList<Case> all;
    auto add = [&](const char *name, Link link, QList<Run> runs, QByteArray expected = {},
                   int flags = 0) {
        all.append({name, link, runs, expected, flags});
    };
    add("version without a display or widgets", Link::NoLibrary,
        {{"--version", 0, "velorix-cli 1.1"}}, {}, TRACE_LIBRARIES);
    add("help lists commands and exit codes", Link::NoLibrary,
        {{"--help", 0, "apply ARQUIVO|set ALVO NOME=VALOR|convert|Códigos de saída|130"}});
    add("info as JSON", Link::Hid,
        {{"info --json", 0, "", "Concluído",
          "schema=1|serial=000001|firmware=VELORIX II 1.05|config.profile=FABRICA|link=hid"}});
    add("read saves a file the window opens", Link::Hid, {{"read -o {dir}/out.cfg", 0, "out.cfg"}},
        (char(0x1A) + factory), OUT_FILE);
    add("show decodes a file with the form's words", Link::NoLibrary,
        {{"show {dir}/changed.cfg", 0,
          "  Baudrate: 9600|  Paridade: Ímpar|Boleto Bancário\n  1º separador: ENTER|"
          "  Cliente: USERCONF"}});
    add("diff lists the fields that differ", Link::Hid,
        {{"diff {dir}/default.cfg {dir}/changed.cfg", 1,
          "Configuração / Cliente: FABRICA -> USERCONF|"
          "Comunicação Serial / Baudrate: 2400 -> 9600|"
          "Boleto Bancário / 1º separador: TAB -> ENTER"},
         {"diff reader {dir}/default.cfg --json", 0, "", "", "equal=true"}});
    add("apply twice over HID", Link::Hid,
        {{"apply {dir}/changed.cfg", 10, "alterada"},
         {"apply {dir}/changed.cfg --json", 0, "", "", "changed=false|result=unchanged"}},
        changed);
    add("write and read back over HID", Link::Hid,
        {{"write {dir}/changed.cfg --json", 0, "", "", "verified=true"}}, changed);
    add("a CDC reader is not written over HID", Link::Hid,
        {{"write {dir}/default.cfg", 5, "", "Dispositivo tipo CDC detectado"},
         {"write {dir}/default.cfg --json", 5, "", "", "error_code=cdc_on_hid"},
         {"serial", 0, "000001"},
         {"firmware", 0, "VELORIX II 1.05"}},
        {}, CDC_READER);
    add("no HID access library", Link::NoLibrary,
        {{"serial --json", 3, "", "",
          "error=Arquivo hid_usb.dll não enconrado|message=9|error_code=not_found"}});
    add("bad inputs change nothing", Link::Hid,
        {{"bogus", 2, "", usage},
         {"info --bogus", 2, "", "opção desconhecida: --bogus"},
         {"bogus --json", 2, "", "", "schema=1|ok=false|exit_code=2|error_code=usage"},
         {"write {dir}/missing.cfg --json", 6, "", "", "error_code=file|message=8"},
         {"diff reader", 2, "", usage},
         {"read --no-verify", 2, "", usage},
         {"info --baud 300", 2, "", "velocidade inválida"},
         {"write {dir}/missing.cfg", 6, "", "não existe"},
         {"write {dir}/fifo", 6, "", "não é um arquivo comum"},
         {"apply {dir}/short.cfg", 6, "", "tem 10 bytes"},
         {"info --port COM99", 2, "", "COM99 não corresponde"},
         {"info --port /dev/velorix-none", 2, "", "não existe"},
         {"info --port {dir}/short.cfg", 2, "", "não é uma porta"},
         {"watch", 2, "", "--port"}},
        {}, READER_UNTOUCHED);
    add("a short file is written when accepted", Link::Hid,
        {{"write {dir}/short.cfg --accept-short --no-verify", 0}},
        (char(0x1A) + changed).mid(1, 9) + QByteArray(18, 0));
    add("a save that fails", Link::Hid,
        {{"read -o {dir}/no-folder/out.cfg", 6, "",
          "Não foi possível abrir arquivo especificado"}});
    add("info over the serial port", Link::Pty,
        {{"info --port {pty}", 0, "Número de Série: 000001|  Cliente: FABRICA",
          "Detectando leitor"}});
    add("apply twice over the serial port", Link::Pty,
        {{"apply {dir}/changed.cfg --port {pty} --json", 10, "", "",
          "changed=true|verified=true|link=serial"},
         {"apply {dir}/changed.cfg --port {pty}", 0, "inalterada"}},
        changed);
    add("a read-back that differs is refused", Link::Pty,
        {{"write {dir}/changed.cfg --port {pty} --json", 7, "", "",
          "verified=false|written=true|error_code=read_back"},
         {"write {dir}/changed.cfg --port {pty}", 7, "", "CMC-7 / Enviar separador: não -> sim"},
         {"apply {dir}/changed.cfg --port {pty}", 7, "", "Enviar separador"}},
        {}, REWORKS_CONFIG);
    add("a port another program holds", Link::Pty,
        {{"serial --port {pty}", 8, "", "em uso por outro programa"},
         {"serial --port {pty} --json", 8, "", "", "error_code=port_busy"}},
        {}, HOLD_PORT);
    add("three readers: list, refusal, --device", Link::Hid,
        {{"list", 0,
          "hid  /sim/hidraw0  USB 1-1  Teclado  000001  VELORIX II 1.05|/sim/hidraw1  USB 1-2|"
          "000003"},
         {"list --json", 0, "", "", "usb_port=1-3|serial=000003|mode=Teclado"},
         {"info", 2, "",
          "conectados; escolha um com --device (caminho, porta USB ou número de série) ou use "
          "--all:\n  hid  /sim/hidraw0"},
         {"apply {dir}/changed.cfg --json", 2, "", "", "serial=000002|exit_code=2"},
         {"apply {dir}/changed.cfg --device 000002", 10, "alterada"},
         {"apply {dir}/changed.cfg --device /sim/hidraw1", 0, "inalterada"},
         {"info --device 1-3 --json", 0, "", "", "serial=000003|profile=FABRICA|path=/sim/hidraw2"},
         {"info --device 000009", 3, "", "Dispositivo não encontrado: 000009"},
         {"info --all --device 000001", 2, "", "--all não se combina"},
         {"read --all", 2, "", "-o PASTA"}},
        changed, THREE_READERS);
    add("three readers, all of them", Link::Hid,
        {{"apply {dir}/changed.cfg --all", 10,
          "== hid  /sim/hidraw0|== hid  /sim/hidraw2|3 leitores: 3 alterados, 0 inalterados, 0 "
          "com falha"},
         {"apply {dir}/changed.cfg --all --json", 0, "", "",
          "changed=false|usb_port=1-3|exit_code=0"},
         {"info --all", 0, "Número de Série: 000002|3 leitores: 3 concluídos, 0 com falha"}},
        changed, THREE_READERS | EVERY_READER);
    add("a CDC port of the reader's ids is listed", Link::Hid,
        {{"list --json", 0, "", "",
          "path=/sim/hidraw0|link=serial|path=/dev/ttyACM31|usb_port=1-4|mode=Serial|com=COM96"},
         {"list", 0, "serial  /dev/ttyACM31  USB 1-4  Serial  -  -"}},
        {}, CDC_SYSFS);
    const char *lineSettings = "Baudrate 9600, 8 Bits, Paridade Nenhum, 1 Stop Bit";
    add("watch with the reader's record", Link::Pty,
        {{"watch --port {pty}", 0, "~00100011<TAB>0180000145<TAB>800000000013<CR><LF>\n",
          lineSettings}},
        {}, WATCH);
    add("watch with settings given, JSON", Link::Pty,
        {{"watch --port {pty} --json --baud 9600 --parity n --data-bits 8 --stop-bits 1", 0,
          "{\"bytes\":\"7E 30 30 31 30 30 30 31 31 09 30 31 38 30 30 30 30 31 34 35 09 38 30 30 "
          "30 30 30 30 30 30 30 31 33 0D 0A\",\"text\":\"~00100011<TAB>0180000145<TAB>"
          "800000000013<CR><LF>\"}\n|\"port\":\"/dev/pts/",
          lineSettings}},
        {}, WATCH);
    add("set the reader by name", Link::Hid,
        {{"set reader skm=sim charBeforeCr=TAB", 0,
          "Habilitar SKM: não -> sim|Caractere antes de CR: NULL -> TAB|gravada no leitor e "
          "conferida"}},
        skmAndTab);
    add("settings and profiles checked against the reader write nothing", Link::Hid,
        {{"set reader baudCode=9600", 2, "", "depende de Configuração/Dispositivo = Serial"},
         {"set reader Comunicação_Teclado/Habilitar_SKM=sim --check --json", 10, "", "",
          "would_change=true|check=true"},
         {"apply {dir}/skm.txt --check", 10, "Habilitar SKM: não -> sim|nada foi gravado"},
         {"write {dir}/skm.txt --check", 10, "Habilitar SKM: não -> sim"},
         {"apply {dir}/default.cfg --check", 0, "nada a gravar"},
         {"apply {dir}/bad.txt", 2, "", "bad.txt: linha 2: campo desconhecido: \"Cor\""},
         {"show {dir}/skm.txt", 2, "", "skm.txt dá só 1 dos"},
         {"set {dir}/default.cfg foo=1", 2, "", "campo desconhecido: \"foo\""},
         {"set {dir}/default.cfg skm", 2, "", "não é NOME=VALOR"},
         {"convert {dir}/default.cfg", 2, "", "-o SAÍDA"},
         {"apply {dir}/nothing.cfg", 6, "", "Não foi possível abrir arquivo especificado"}},
        factory); // read, never written
    add("a partial profile applied, profiles compared", Link::Hid,
        {{"convert reader -o {dir}/posto.json", 0, "salva em"},
         {"convert {dir}/posto.json -o {dir}/posto.txt", 0},
         {"diff {dir}/posto.txt reader", 0, "iguais"},
         {"apply {dir}/skm.txt", 10, "alterada"},
         {"apply {dir}/skm.txt", 0, "inalterada"},
         {"diff {dir}/posto.json reader", 1, "Habilitar SKM: não -> sim"},
         {"apply {dir}/posto.txt --check", 10, "Habilitar SKM: sim -> não"}},
        "USERCONF" + QByteArray::fromHex("D2FFC444 02213F09 09090900 0D020003 000203"));
    add("set a file by name, in its own format", Link::NoLibrary,
        {{"convert {dir}/default.cfg -o {dir}/loja.txt", 0},
         {"set {dir}/loja.txt cdcInterface=Serial baudCode=9600 parity=Par", 0,
          "Baudrate: 2400 -> 9600|salva em"},
         {"show {dir}/loja.txt", 0, "  Dispositivo: Serial|  Baudrate: 9600|  Paridade: Par"},
         {"convert {dir}/loja.txt -o {dir}/loja.cfg", 0},
         {"show {dir}/loja.cfg --json", 0, "", "", "profile=USERCONF"}});
    add("-v shows each frame on the wire; -q keeps progress back", Link::Hid,
        {{"serial -v", 0, "000001",
          "] hid (primeiro leitor) -> 02 01 CC 03 CE\n|] hid (primeiro leitor) <- 02 08 CC 30 30 "
          "30 30 30 31 00 03 C6 ("},
         {"set reader skm=sim --quiet", 0, "gravada no leitor"}},
        "USERCONF" + QByteArray::fromHex("D2FFC444 02213F09 09090900 0D020003 000203"), NO_STDERR);
    add("-v over the serial port: port, rate, the answer's delay", Link::Pty,
        {{"firmware --verbose --port {pty}", 0, "VELORIX II 1.05",
          "115200 bit/s -> 02 01 AA 03 A8\n|115200 bit/s <- 02 11 AA 56 45 4C|Concluído"},
         {"firmware -v -q", 2, "", "use -v ou -q"}});
    add("standard input and output", Link::Hid,
        {{"apply -", 10, "alterada: configuração de - gravada", "", "", "changed.cfg"},
         {"diff - reader", 0, "iguais", "", "", "changed.cfg"},
         {"show -", 0, "  Baudrate: 9600", "", "", "changed.cfg"},
         {"set - skm=sim", 0, "USERCONF", "Habilitar SKM: não -> sim", "", "changed.cfg"},
         {"apply - --check", 10, "Habilitar SKM: não -> sim", "", "", "skm.txt"},
         {"read -o -", 0, "Configuração\n  Cliente: USERCONF", "salva em -"},
         {"diff - -", 2, "", "só pode ser lida uma vez"},
         {"read -o - --json", 2, "", "", "error_code=usage"}},
        changed);
    add("SIGTERM while waiting for the reader: 143", Link::Pty, {{"info --port {pty}", 143}}, {},
        STOP_WAITING | BY_SIGTERM);
    add("SIGINT while waiting for the reader: 130", Link::Pty, {{"info --json --port {pty}", 130}},
        {}, STOP_WAITING);
    add("watch stopped by SIGTERM: 143, the read shown", Link::Pty,
        {{"watch --port {pty} --json --baud 9600 --parity n --data-bits 8 --stop-bits 1", 143,
          "{\"bytes\"|\"error_code\":\"terminated\""}},
        {}, WATCH | BY_SIGTERM);
    return all;
}

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

    QTemporaryDir hidFolder;  // velorix-cli beside the simulated HID library
    QTemporaryDir bareFolder; // velorix-cli alone
    QTemporaryDir files;

    QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        for (QTemporaryDir *dir : {&hidFolder, &bareFolder})
            QVERIFY(QFile::copy(QStringLiteral(CLI_EXECUTABLE), dir->filePath("velorix-cli")));
        QVERIFY(QFile::copy(QStringLiteral(SIM_HID_LIBRARY), hidFolder.filePath("libhid_usb.so")));
        for (const auto &[name, bytes] :
             {std::pair{"default.cfg", char(0x1A) + factory},
              std::pair{"changed.cfg", char(0x1A) + changed},
              std::pair{"short.cfg", (char(0x1A) + changed).left(10)},
              std::pair{"skm.txt",
                        QByteArray("# só o SKM\nComunicação Teclado\n  Habilitar SKM: sim\n")},
              std::pair{"bad.txt", QByteArray("Geral\n  Cor: azul\n")}}) {

            QFile file(files.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QCOMPARE(mkfifo(files.filePath("fifo").toLocal8Bit().constData(), 0600), 0);
    }

    void convertWritesTheFormatItsNameSays()
    {
        const QString program = bareFolder.filePath("velorix-cli");
        for (const char *name : {"as.json", "AS.JSON", "as.txt", "as"}) {
            const QString out = files.filePath(QString::fromLatin1(name));
            QCOMPARE(
                QProcess::execute(program, {"convert", files.filePath("default.cfg"), "-o", out}),
                0);
            const QByteArray written = readFile(out);
            QJsonParseError error{};
            const QJsonDocument json = QJsonDocument::fromJson(written, &error);
            const bool isJson =
                error.error == QJsonParseError::NoError && json.object().value("config").isObject();
            QVERIFY2(isJson == QByteArray(name).toLower().endsWith(".json"), name);
            QVERIFY2(isJson || written.startsWith("Configuração\n  Cliente: FABRICA\n"),
                     written.constData());
        }
    }

    void commands_data()
    {
        QTest::addColumn<int>("index");
        int index = 0;
        for (const Case &c : cases())
            QTest::newRow(c.name) << index++;
    }

    // A fake sysfs: ttyACM31 of a reader on USB port 1-4, ttyACM30 of another device.
    void makeSysfs(const QString &root)
    {
        for (const auto &[tty, port, vendor] :
             {std::tuple{"ttyACM31", "1-4", "0802"}, std::tuple{"ttyACM30", "1-5", "1234"}}) {
            const QString device = root + "/devices/usb1/" + port;
            QVERIFY(QDir().mkpath(device + "/" + port + ":1.0"));
            QVERIFY(QDir().mkpath(root + "/class/tty/" + tty));
            for (const auto &[name, value] :
                 {std::pair{"idVendor", vendor}, std::pair{"idProduct", "3003"}}) {
                QFile file(device + "/" + name);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(value) > 0);
            }
            QVERIFY(
                QFile::link(device + "/" + port + ":1.0", root + "/class/tty/" + tty + "/device"));
        }
    }

    void commands()
    {
        QFETCH(int, index);
        const Case c = cases().at(index);
        const QByteArray state = hidFolder.filePath("velorix-reader.state").toLocal8Bit();
        const QStringList others = {hidFolder.filePath("velorix-reader-2.state"),
                                    hidFolder.filePath("velorix-reader-3.state")};
        for (const QString &other : others) {
            QFile::remove(other);
            if (c.flags & THREE_READERS)
                QVERIFY(QFile(other).open(QIODevice::WriteOnly)); // fresh readers
        }
        const QString sysfs = files.filePath("sysfs");
        if (c.flags & CDC_SYSFS)
            makeSysfs(sysfs);
        ReaderModel model;
        QFile::remove(state);
        if (c.flags & CDC_READER) {
            model.configuration[11] |= 0x80;
            QVERIFY(reader_state_save(model, state.constData()));
        } else
            QVERIFY(QFile(state).open(QIODevice::WriteOnly)); // a fresh reader
        if (c.flags & WATCH) {
            model.configuration[8] = 0x04;
            model.configuration[8 + 2] |= 0x01;
            model.configuration[8 + 12] = 0x09;
            memcpy(model.configuration + 8 + 13, "\0~\r\n", 4); // '~': the last printable byte
        }
        QFile::remove(files.filePath("out.cfg"));

        PtyReader reader(model, READER_RATE);
        QVERIFY(reader.isOpen());
        int held = SERIAL_NO_DEVICE;
        if (c.flags & HOLD_PORT)
            QVERIFY((held = serial_device_open_path(reader.devicePath())) != SERIAL_NO_DEVICE);
        const QString program =
            (c.link == Link::Hid ? hidFolder : bareFolder).filePath("velorix-cli");
        for (const Run &run : c.runs) {
            QStringList args = QString::fromUtf8(run.args).split(' ');
            for (QString &arg : args) // "_" a space within an argument
                arg.replace('_', ' ')
                    .replace("{dir}", files.path())
                    .replace("{pty}", reader.devicePath());
            if (c.link == Link::Pty && !(c.flags & WATCH))
                args << QStringLiteral("--baud") << QString::number(READER_RATE);
            bool reworked = false, sent = false;
            auto onOutput = [&](const QString &out, const QString &err) {
                // After the write request, the reader keeps a byte of its own.
                if ((c.flags & REWORKS_CONFIG) && !reworked && !model.requests.empty() &&
                    model.requests.back()[0] == 0xDD) {
                    model.configuration[8 + 2] ^= 0x01;
                    reworked = true;
                }
                if ((c.flags & WATCH) && !sent && err.contains("Aguardando dados"))
                    sent = reader.sendDocument() > 0;
                if (c.flags & STOP_WAITING)
                    return err.contains("Detectando leitor");
                return (c.flags & WATCH) && out.contains('\n'); // one read printed: stop
            };
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                env.remove(QString::fromLatin1(name));
            if (c.flags & TRACE_LIBRARIES)
                env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
            env.insert(QStringLiteral("VELORIX_SYSFS_ROOT"),
                       (c.flags & CDC_SYSFS) ? sysfs : files.filePath("no-sysfs"));
            process.setProcessEnvironment(env);
            if (run.in)
                process.setStandardInputFile(files.filePath(QString::fromUtf8(run.in)));
            process.start(program, args);
            QByteArray outBytes, errBytes;
            bool stopped = false;
            // The pty reader is served while the program runs; the program is
            // stopped when onOutput says so, and given up on after a minute.
            for (int waited = 0; process.state() != QProcess::NotRunning && waited < 60000;
                 waited += 5) {
                if (c.link == Link::Pty && !(c.flags & STOP_WAITING))
                    reader.service();
                process.waitForFinished(5);
                outBytes += process.readAllStandardOutput();
                errBytes += process.readAllStandardError();
                if (!stopped &&
                    onOutput(QString::fromUtf8(outBytes), QString::fromUtf8(errBytes))) {
                    ::kill(pid_t(process.processId()), (c.flags & BY_SIGTERM) ? SIGTERM : SIGINT);
                    stopped = true;
                }
            }
            if (process.state() != QProcess::NotRunning)
                qFatal("velorix-cli hung: %s", errBytes.constData());
            const int exitCode =
                process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
            const QString out = QString::fromUtf8(outBytes + process.readAllStandardOutput());
            const QString err = QString::fromUtf8(errBytes + process.readAllStandardError());
            const QString context = args.join(' ') + "\n" + out + err;
            QVERIFY2(exitCode == run.exitCode, qPrintable(context));
            const QStringList outs = QString::fromUtf8(run.out).split('|');
            for (const QString &text : outs)
                QVERIFY2(out.contains(text), qPrintable(text + "\n" + context));
            for (const QString &text : QString::fromUtf8(run.err).split('|'))
                QVERIFY2(err.contains(text), qPrintable(text + "\n" + context));
            QVERIFY2(!(c.flags & NO_STDERR) || err.isEmpty() || run.err[0], qPrintable(context));
            QVERIFY2(!(c.flags & WATCH) || (sent && out.startsWith(outs[0])), qPrintable(context));
            const QString json = QString::fromUtf8(
                QJsonDocument::fromJson(out.toUtf8()).toJson(QJsonDocument::Compact));
            for (const QString &pair : QString::fromUtf8(run.json).split('|', Qt::SkipEmptyParts)) {
                const QString key = '"' + pair.section('=', 0, 0).section('.', -1) + "\":";
                const QString value = pair.mid(pair.indexOf('=') + 1);
                QVERIFY2(json.contains(key + '"' + value + '"') ||
                             json.contains(key + value + ',') || json.contains(key + value + '}'),
                         qPrintable(pair + "\n" + json));
            }
            if (c.flags & TRACE_LIBRARIES) {
                QVERIFY2(err.contains("libQt6Core"), qPrintable(err.left(500)));
                QVERIFY(!err.contains("libQt6Gui") && !err.contains("libQt6Widgets"));
            }
        }
        serial_device_close(held);
        if (c.flags & READER_UNTOUCHED)
            QVERIFY2(readFile(state).isEmpty(), readFile(state).constData());
        if (c.flags & THREE_READERS) {
            const QStringList states = QStringList{QString::fromLocal8Bit(state)} + others;
            for (int i = 0; i < states.size(); ++i) {
                ReaderModel stored; // an empty file: the factory state
                reader_state_load(stored, states[i].toLocal8Bit().constData());
                const QByteArray kept(reinterpret_cast<const char *>(stored.configuration), 27);
                const bool changes = (c.flags & EVERY_READER) || i == 1;
                QVERIFY2(kept == (changes ? c.expected : factory), qPrintable(states[i]));
            }
        } else if (c.flags & OUT_FILE)
            QCOMPARE(readFile(files.filePath("out.cfg")).toHex(' '), c.expected.toHex(' '));
        else if (!c.expected.isEmpty()) {
            if (c.link == Link::Hid)
                QVERIFY(reader_state_load(model, state.constData()));
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(model.configuration), 27).toHex(' '),
                     c.expected.toHex(' '));
        }
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "test_cli.moc"
