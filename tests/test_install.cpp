// Installing into a fresh prefix gives a configurator that finds its HID
// access library and starts, and udev rules that name the reader's ids.
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct RuleKey
{
    QString key;
    QString op;
    QString value;
};

// One udev rule: comma-separated KEY op "value" pairs. Empty when the line
// does not parse.
QList<RuleKey> parseRule(const QString &line)
{
    // KEY or KEY{attribute}, an operator, a quoted value, then a comma or the end.
    static const QRegularExpression pair(QString::fromLatin1(
        "^\\s*([A-Za-z_]+(?:\\{[^}]+\\})?)\\s*(==|!=|\\+=|-=|:=|=)\\s*\"([^\"]*)\"\\s*(,|$)"));
    QList<RuleKey> keys;
    QString rest = line;
    while (!rest.trimmed().isEmpty()) {
        const QRegularExpressionMatch m = pair.match(rest);
        if (!m.hasMatch())
            return {};
        keys.append({m.captured(1), m.captured(2), m.captured(3)});
        rest = rest.mid(m.capturedEnd());
    }
    return keys;
}

QString valueOf(const QList<RuleKey> &rule, const QString &key)
{
    for (const RuleKey &k : rule)
        if (k.key == key)
            return k.value;
    return {};
}
} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

    QTemporaryDir prefix;

    QString rulesPath() const
    {
        return prefix.filePath(QStringLiteral("lib/udev/rules.d/70-velorix-reader.rules"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(prefix.isValid());
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {"--install", QStringLiteral(BUILD_DIR), "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(60000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError());
    }

    void installedProgramFindsItsLibraryAndStarts()
    {
        const QString exe = prefix.filePath(QStringLiteral("bin/velorix-config"));
        QVERIFY(QFileInfo(exe).isExecutable());
        QVERIFY(!QFileInfo::exists(prefix.filePath(QStringLiteral("bin/libhid_usb.so"))));
        const QString library = prefix.filePath(QStringLiteral("lib/velorix-config/libhid_usb.so"));
        QVERIFY(QFileInfo::exists(library));

        // The dynamic loader's own trace shows which file the program loads;
        // the program itself reads no variable or option.
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
        run.setProcessEnvironment(env);
        run.setWorkingDirectory(QDir::tempPath());
        run.start(exe, {});
        QVERIFY(run.waitForStarted());
        static const QRegularExpression initialised(
            QString::fromLatin1("calling init: (\\S*libhid_usb\\.so)"));
        QString trace;
        QRegularExpressionMatch m;
        QElapsedTimer patience;
        patience.start();
        while (!(m = initialised.match(trace)).hasMatch() && patience.elapsed() < 30000 &&
               run.state() == QProcess::Running) {
            run.waitForReadyRead(500);
            trace += QString::fromLocal8Bit(run.readAllStandardError());
        }
        QVERIFY2(m.hasMatch(), qPrintable(trace.right(2000)));
        // The library is in and the program is still running, on its way to the event loop.
        QVERIFY(!run.waitForFinished(500));
        run.terminate();
        QVERIFY(run.waitForFinished(5000));
        QCOMPARE(QFileInfo(m.captured(1)).canonicalFilePath(),
                 QFileInfo(library).canonicalFilePath());
    }

    void headlessProgramAndItsManualPage()
    {
        const QString exe = prefix.filePath(QStringLiteral("bin/velorix-cli"));
        QProcess run;
        run.start(exe, {QStringLiteral("--version")});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.readAllStandardOutput(), QByteArray("velorix-cli 1.0\n"));
        QFile page(prefix.filePath(QStringLiteral("share/man/man1/velorix-cli.1")));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains(QString::fromUtf8(".SH CÓDIGOS DE SAÍDA").toUtf8()));
    }

    void udevRulesGrantTheReaderAndKeepModemManagerAway()
    {
        QFile rules(rulesPath());
        QVERIFY(rules.open(QIODevice::ReadOnly | QIODevice::Text));
        QSet<QString> granted, ignored;
        for (const QString &raw : QString::fromUtf8(rules.readAll()).split('\n')) {
            const QString line = raw.trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<RuleKey> rule = parseRule(line);
            QVERIFY2(!rule.isEmpty(), qPrintable(line));
            QCOMPARE(valueOf(rule, QStringLiteral("ATTRS{idVendor}")), QStringLiteral("0802"));
            QVERIFY2(valueOf(rule, QStringLiteral("MODE")).isEmpty(), "rules never widen a mode");
            const QString product = valueOf(rule, QStringLiteral("ATTRS{idProduct}"));
            if (valueOf(rule, QStringLiteral("TAG")) == QStringLiteral("uaccess"))
                granted << valueOf(rule, QStringLiteral("SUBSYSTEM")) + ':' + product;
            else if (valueOf(rule, QStringLiteral("ENV{ID_MM_DEVICE_IGNORE}")) == "1")
                ignored << product;
            else
                QFAIL(qPrintable("a rule that does neither: " + line));
        }
        QCOMPARE(granted, (QSet<QString>{"hidraw:3002", "hidraw:3003", "tty:3003"}));
        QCOMPARE(ignored, (QSet<QString>{"3002", "3003"}));
    }

    void udevAcceptsTheRules()
    {
        // udevadm reads rules only from the system's folders: it runs with a
        // /run of its own that holds ours, against a device that does not
        // exist, so that it reads the rules and changes nothing.
        const QString udevadm = QStandardPaths::findExecutable(
            QStringLiteral("udevadm"), {"/usr/bin", "/bin", "/usr/sbin", "/sbin"});
        if (udevadm.isEmpty())
            QSKIP("udevadm is not installed (scripts/setup-deps.sh installs it)");
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QStringLiteral("unshare"),
                  {"-rm", "sh", "-c",
                   "mount -t tmpfs tmpfs /run && mkdir -p /run/udev/rules.d && cp \"$1\" "
                   "/run/udev/rules.d/ && \"$2\" test --action=add /devices/velorix-none",
                   "sh", rulesPath(), udevadm});
        QVERIFY(run.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(run.readAll());
        const QString ours = QStringLiteral("/run/udev/rules.d/70-velorix-reader.rules");
        if (!output.contains(QStringLiteral("Reading rules file:")))
            QSKIP(qPrintable("no private /run for udevadm here: " + output.left(300)));
        QVERIFY2(output.contains(QStringLiteral("Reading rules file: ") + ours),
                 qPrintable(output));
        // udevadm names the file and line of everything it objects to.
        QVERIFY2(!output.contains(ours + ':'), qPrintable(output));
    }

    void desktopFilesAndManualPages()
    {
        QFile entry(prefix.filePath(QStringLiteral("share/applications/velorix-config.desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.contains(QStringLiteral("\nExec=velorix-config\n")));
        // One main category, so that menus list the program once.
        QVERIFY(text.contains(QStringLiteral("\nCategories=Settings;HardwareSettings;\n")));
        for (const char *file : {"share/icons/hicolor/scalable/apps/velorix-config.svg",
                                 "share/metainfo/org.example.velorix.config.metainfo.xml"})
            QVERIFY2(QFileInfo::exists(prefix.filePath(QString::fromLatin1(file))), file);
        // Every installed program has its manual page.
        const QStringList programs =
            QDir(prefix.filePath(QStringLiteral("bin"))).entryList(QDir::Files);
        QVERIFY(programs.contains(QStringLiteral("velorix-config")));
        for (const QString &program : programs)
            QVERIFY2(QFileInfo::exists(prefix.filePath("share/man/man1/" + program + ".1")),
                     qPrintable(program));
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "test_install.moc"
