// Installing into a fresh prefix gives a configurator that finds its HID
// access library and starts, and udev rules that name the reader's ids.
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class InstallTest : public QObject
{
    Q_OBJECT

    QTemporaryDir prefix;

    QString path(const char *file) const { return prefix.filePath(QString::fromLatin1(file)); }
    QString contentsOf(const char *file)
    {
        QFile in(path(file));
        return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()) : QString();
    }

private slots:
    void initTestCase()
    {
        QProcess install;
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {"--install", QStringLiteral(BUILD_DIR), "--prefix", prefix.path()});
        QVERIFY(install.waitForFinished(60000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError());
    }

    void installedProgramFindsItsLibraryAndStarts()
    {
        const QString exe = path("bin/velorix-config");
        const QString library = path("lib/velorix-config/libhid_usb.so");
        QVERIFY(QFileInfo(exe).isExecutable() && QFileInfo::exists(library));
        QVERIFY(!QFileInfo::exists(path("bin/libhid_usb.so")));
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
            QStringLiteral("calling init: (\\S*libhid_usb\\.so)"));
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
        // Ended by the signal, not by leaving its event loop on its own.
        QCOMPARE(run.exitStatus(), QProcess::CrashExit);
        QCOMPARE(QFileInfo(m.captured(1)).canonicalFilePath(),
                 QFileInfo(library).canonicalFilePath());
    }

    void headlessProgramDesktopFilesAndManualPages()
    {
        QProcess run;
        run.start(path("bin/velorix-cli"), {QStringLiteral("--version")});
        QVERIFY(run.waitForFinished(30000));
        QCOMPARE(run.readAllStandardOutput(), QByteArray("velorix-cli 1.1\n"));
        QVERIFY(contentsOf("share/man/man1/velorix-cli.1")
                    .contains(QString::fromUtf8(".SH CÓDIGOS DE SAÍDA")));
        const QString entry = contentsOf("share/applications/velorix-config.desktop");
        QVERIFY(entry.contains(QStringLiteral("\nExec=velorix-config\n")));
        // One main category, so that menus list the program once.
        QVERIFY(entry.contains(QStringLiteral("\nCategories=Settings;HardwareSettings;\n")));
        for (const char *file : {"share/icons/hicolor/scalable/apps/velorix-config.svg",
                                 "share/bash-completion/completions/velorix-cli",
                                 "share/metainfo/org.example.velorix.config.metainfo.xml"})
            QVERIFY2(QFileInfo::exists(path(file)), file);
        // Every installed program has its manual page.
        const QStringList programs = QDir(path("bin")).entryList(QDir::Files);
        for (const QString &program : programs)
            QVERIFY2(QFileInfo::exists(path("share/man/man1/") + program + ".1"),
                     qPrintable(program));
    }

    void udevRulesGrantTheReaderKeepModemManagerAwayAndPass()
    {
        // Comma-separated KEY or KEY{attribute}, an operator and a quoted value.
        const QString pair = QStringLiteral(
            "\\s*([A-Za-z_]+(?:\\{[^}]+\\})?)\\s*(?:==|!=|\\+=|-=|:=|=)\\s*\"([^\"]*)\"\\s*");
        const QRegularExpression rule('^' + pair + "(?:," + pair + ")*$"), key(pair);
        QSet<QString> granted, ignored;
        const QString text = contentsOf("lib/udev/rules.d/70-velorix-reader.rules");
        QVERIFY(!text.isEmpty());
        for (const QString &raw : text.split('\n')) {
            const QString line = raw.trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            QVERIFY2(rule.match(line).hasMatch(), qPrintable(line));
            QMap<QString, QString> values;
            for (const QRegularExpressionMatch &m : key.globalMatch(line))
                values[m.captured(1)] = m.captured(2);
            QCOMPARE(values.value("ATTRS{idVendor}"), QStringLiteral("0802"));
            const QString product = values.value("ATTRS{idProduct}");
            if (values.value("TAG") == QStringLiteral("uaccess")) {
                // The seat's user, and the group remote logins join; nobody else.
                QCOMPARE(values.value("GROUP"), QStringLiteral("velorix"));
                QCOMPARE(values.value("MODE"), QStringLiteral("0660"));
                granted << values.value("SUBSYSTEM") + ':' + product;
            } else if (values.contains("MODE") || values.contains("GROUP")) {
                QFAIL(qPrintable("a mode or group beside no grant: " + line));
            } else if (values.value("ENV{ID_MM_DEVICE_IGNORE}") == "1")
                ignored << product;
            else
                QFAIL(qPrintable("a rule that does neither: " + line));
        }
        QCOMPARE(granted, (QSet<QString>{"hidraw:3002", "hidraw:3003", "tty:3003"}));
        QCOMPARE(ignored, (QSet<QString>{"3002", "3003"}));

        // udevadm reads rules only from the system's folders: it runs with a
        // /run of its own that holds ours, against a device that does not
        // exist, so that it reads the rules and changes nothing. The group
        // is the package's: without it udevadm names each line that gives it.
        const QString udevadm = QStandardPaths::findExecutable(
            QStringLiteral("udevadm"), {"/usr/bin", "/bin", "/usr/sbin", "/sbin"});
        if (udevadm.isEmpty())
            QSKIP("udevadm is not installed (scripts/setup-deps.sh installs it)");
        const QString ours = QStringLiteral("/run/udev/rules.d/70-velorix-reader.rules");
        for (const bool groupExists : {true, false}) {
            const QString output = udevadmTest(udevadm, groupExists);
            if (!output.contains(QStringLiteral("Reading rules file:")))
                QSKIP(qPrintable("no private /run for udevadm here: " + output.left(300)));
            QVERIFY2(output.contains(QStringLiteral("Reading rules file: ") + ours),
                     qPrintable(output));
            // udevadm names the file and line of everything it objects to.
            const int remarks = int(output.count(ours + ':'));
            const int unknownGroup = int(output.count(QStringLiteral("Unknown group 'velorix'")));
            QVERIFY2(remarks == unknownGroup && unknownGroup == (groupExists ? 0 : 3),
                     qPrintable(output));
        }
    }

private:
    // udevadm test on our rules, in a mount namespace whose /etc/group has
    // the system group "velorix" or not.
    QString udevadmTest(const QString &udevadm, bool groupExists)
    {
        QProcess run;
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(QStringLiteral("unshare"),
                  {"-rm", "sh", "-c",
                   "mount -t tmpfs tmpfs /run && mkdir -p /run/udev/rules.d && cp \"$1\" "
                   "/run/udev/rules.d/ && grep -v '^velorix:' /etc/group >/run/group && "
                   "{ [ \"$3\" = no ] || echo velorix:x:990: >>/run/group; } && "
                   "mount --bind /run/group /etc/group && "
                   "\"$2\" test --action=add /devices/velorix-none",
                   "sh", path("lib/udev/rules.d/70-velorix-reader.rules"), udevadm,
                   groupExists ? "yes" : "no"});
        return run.waitForFinished(60000) ? QString::fromLocal8Bit(run.readAll()) : QString();
    }
};

QTEST_GUILESS_MAIN(InstallTest)
#include "test_install.moc"
