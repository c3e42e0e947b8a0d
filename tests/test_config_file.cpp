// The *.cfg file: its format read and written directly, and what the window
// adds around it (the file dialogs, the error box, the port asked for).
#include "app/serial_port_dialog.h"
#include "config/config_file_format.h"
#include "config_form_helpers.h"
#include "modal_responder.h"
#include "port_folder.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {
const ShownBox fileError{QStringLiteral("critical"), QStringLiteral("Erro!"),
                         QString::fromUtf8("Não foi possível abrir arquivo especificado")};

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "(unreadable)";
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

class ConfigFileTest : public QObject
{
    Q_OBJECT

    ModalResponder *responder = nullptr;
    std::unique_ptr<MainWindow> window;
    QTemporaryDir settingsHome;
    std::unique_ptr<QTemporaryDir> folder;

    QString chosenFile; // what the next file dialog is answered with; empty cancels it
    int fileDialogs = 0;
    QStringList fileDialogLooks; // caption, filters, folder and parent of the last file dialog
    int portDialogs = 0;
    int portCancels = 0; // port dialogs cancelled before one is accepted
    int portIndex = 0;   // and the port chosen there

    template <typename T> T *get(const char *name) { return control<T>(window.get(), name); }
    QString pathOf(const char *name) const { return folder->filePath(QString::fromLatin1(name)); }

    void answerDialogs(QDialog *dialog)
    {
        if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
            ++fileDialogs;
            fileDialogLooks = {files->windowTitle(), files->nameFilters().join(';'),
                               files->directory().absolutePath(),
                               files->parentWidget() == window.get() ? "main window" : "other"};
            if (chosenFile.isEmpty())
                return files->reject();
            files->setOption(QFileDialog::DontConfirmOverwrite); // the operator confirms
            files->selectFile(chosenFile);
            static_cast<QDialog *>(files)->accept(); // runs the file dialog's own accept
        } else if (auto *ports = qobject_cast<SerialPortDialog *>(dialog)) {
            ports->portList()->setCurrentIndex(portIndex);
            if (portDialogs++ < portCancels)
                ports->reject();
            else
                ports->accept();
        }
    }

    void trigger(const char *action, const QString &path)
    {
        chosenFile = path;
        get<QAction>(action)->trigger();
    }

    void checkDialogLooks(int count)
    {
        QCOMPARE(fileDialogs, count);
        QCOMPARE(fileDialogLooks,
                 QStringList({QString::fromUtf8("Arquivos de configuração do Velorix 2"), "*.cfg",
                              QDir::current().absolutePath(), "main window"}));
    }

private slots:
    void initTestCase()
    {
        // The file dialog keeps its history in the user's settings; keep ours apart.
        qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    }

    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        responder = new ModalResponder;
        window = makeWindow(QStringLiteral("/nonexistent/libhid_usb.so"));
        responder->boxes.clear();
        responder->setDialogHandler([this](QDialog *dialog) { answerDialogs(dialog); });
        fileDialogs = portDialogs = portCancels = portIndex = 0;
        window->linkSession.com_port_number = 1;
    }

    void cleanup()
    {
        window.reset();
        delete responder;
    }

    // The count byte n (signed) announces n + 1 bytes; missing ones stay zero.
    void filesAreReadByTheirCountByte_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("read");
        const QByteArray alphabet = QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ").repeated(12);
        QTest::newRow("short") << "\x05" + QByteArray("ABCDEF") << QByteArray("ABCDEF");
        QTest::newRow("negative count") << "\xff" + QByteArray(27, 'Z') << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("count zero") << QByteArray("\0AB", 3) << QByteArray("A");
        QTest::newRow("long") << "\x7f" + alphabet << alphabet.left(128);
        QTest::newRow("count below 26") << "\x10" + QByteArray(27, 'Q') << QByteArray(17, 'Q');
    }

    void filesAreReadByTheirCountByte()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, read);
        writeFile(pathOf("in.cfg"), file);
        uint8_t buffer[CONFIG_FILE_BUFFER_SIZE];
        memset(buffer, 0xEE, sizeof buffer);
        ConfigFileShape shape{};
        QVERIFY(loadConfigFile(pathOf("in.cfg"), buffer, &shape));
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buffer), sizeof buffer),
                 read.leftJustified(CONFIG_FILE_BUFFER_SIZE, '\0'));
        QCOMPARE(shape.size, file.size());
        QCOMPARE(shape.count, uint8_t(file.isEmpty() ? 0 : file[0]));
    }

    void savedAndOpened()
    {
        loadBlock(window.get(), serializedBlock("ANTES", defaultSettings()));
        trigger("actionAbrir", QString()); // cancelled: nothing changes
        checkDialogLooks(1);
        QCOMPARE(serializedRecord(), serializedBlock("ANTES", defaultSettings()));
        trigger("actionSalvar", QString()); // cancelled, but the record is marked all the same
        checkDialogLooks(2);
        QCOMPARE(serializedRecord().left(CONFIG_NAME_SIZE), QByteArray("USERCONF"));
        QVERIFY(QDir(folder->path()).isEmpty());
        writeFile(pathOf("start.cfg"), QByteArray(100, 'x')); // replaced whole
        trigger("actionSalvar", pathOf("start.cfg"));
        QCOMPARE(contentsOf(pathOf("start.cfg")),
                 "\x1a" + serializedBlock("USERCONF", defaultSettings()));
        QCOMPARE(portDialogs, 0);

        // An edited record saved, then opened again.
        get<QComboBox>("comboBox_velocidade")->setCurrentIndex(1);
        get<QComboBox>("comboBox_bbSep2")->setCurrentIndex(40);
        editForm(window.get(), "s18=a7"); // reserved bits travel as they are
        const QByteArray edited = serializedRecord().mid(CONFIG_NAME_SIZE);
        trigger("actionSalvar", pathOf("edited.cfg"));

        // A serial file asks for a port until one is accepted.
        PortFolder ports;
        ports.addPort(3);
        ports.addPort(12);
        portCancels = 2;
        portIndex = 1;
        QByteArray settings = defaultSettings();
        settings[3] = static_cast<char>(0xC4);
        writeFile(pathOf("in.cfg"), "\x1a" + serializedBlock("SERIAL", settings));
        trigger("actionAbrir", pathOf("in.cfg"));
        QCOMPARE(portDialogs, 3);
        QCOMPARE(window->linkSession.com_port_number, 12);
        QVERIFY(get<QAction>("actionSerial")->isChecked());
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("SERIAL"));

        // The edited file comes back whole; a keyboard file asks for no port.
        trigger("actionAbrir", pathOf("edited.cfg"));
        QCOMPARE(serializedRecord().mid(CONFIG_NAME_SIZE), edited);
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("USERCONF"));
        QCOMPARE(portDialogs, 3);
        QVERIFY(get<QAction>("actionTeclado")->isChecked());
        QCOMPARE(window->linkSession.com_port_number, 12);
        QVERIFY(responder->boxes.isEmpty());
    }

    void fileInAFolderClosedToNewFilesIsWrittenInPlace()
    {
        // The user may write these files but not create any beside them.
        const QString locked = pathOf("locked");
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("locked")));
        const QByteArray old("old configuration");
        writeFile(locked + "/edit.cfg", old);
        writeFile(locked + "/readonly.cfg", old);
        chmod(QFile::encodeName(folder->path()).constData(), 0755);
        chmod(QFile::encodeName(locked + "/edit.cfg").constData(), 0666);
        chmod(QFile::encodeName(locked + "/readonly.cfg").constData(), 0444);
        chmod(QFile::encodeName(locked).constData(), 0555);
        // Saved by an ordinary user: root may write anywhere, so root drops to "nobody".
        const pid_t child = fork();
        if (child == 0) {
            constexpr uid_t NOBODY = 65534;
            if (geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setresgid(NOBODY, NOBODY, NOBODY) != 0 ||
                 setresuid(NOBODY, NOBODY, NOBODY) != 0))
                _exit(255);
            _exit((saveConfigFile(locked + "/edit.cfg", record()) ? 0 : 1) |
                  (saveConfigFile(locked + "/new.cfg", record()) ? 2 : 0) |
                  (saveConfigFile(locked + "/readonly.cfg", record()) ? 4 : 0));
        }
        int status = -1;
        waitpid(child, &status, 0);
        chmod(QFile::encodeName(locked).constData(), 0755);
        QCOMPARE(status, 0); // the child exited normally, and every save did as it should
        QCOMPARE(contentsOf(locked + "/edit.cfg"), char(CONFIG_FILE_COUNT) + serializedRecord());
        QCOMPARE(contentsOf(locked + "/readonly.cfg"), old);
        QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"edit.cfg", "readonly.cfg"}));
    }

    void unreadableFilesAreRefusedAndFailedSavesSaySo()
    {
        // Opens, but every read fails: this must not load as an empty file.
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), pathOf("mem.cfg")));
        loadBlock(window.get(), serializedBlock("ANTES", defaultSettings()));
        trigger("actionAbrir", pathOf("mem.cfg"));
        QCOMPARE(responder->boxes, QVector<ShownBox>{fileError});
        QCOMPARE(serializedRecord(), serializedBlock("ANTES", defaultSettings()));
        QVERIFY(statusText(window.get()).isEmpty());

        // Something that is there but is no file to read: a socket, a FIFO
        // with no writer or a silent one, a device. Opening or reading the
        // last ones would block for good.
        const QByteArray socketPath = QFile::encodeName(pathOf("socket.cfg"));
        QCOMPARE(mknod(socketPath.constData(), S_IFSOCK | 0600, 0), 0);
        const QByteArray fifo = QFile::encodeName(pathOf("fifo.cfg"));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), pathOf("null.cfg")));
        int silentWriter = -1;
        uint8_t buffer[CONFIG_FILE_BUFFER_SIZE];
        for (const char *name : {"socket.cfg", "fifo.cfg", "fifo.cfg", "null.cfg"}) {
            QVERIFY2(!loadConfigFile(pathOf(name), buffer), name);
            if (silentWriter < 0 && QByteArray(name) == "fifo.cfg")
                silentWriter = ::open(fifo.constData(), O_RDWR | O_NONBLOCK);
        }
        ::close(silentWriter);

        // The file cannot be created at all: it would go where no file can be made.
        QVERIFY(QFile::link(QStringLiteral("/proc/velorix.cfg"), pathOf("nowhere.cfg")));
        trigger("actionSalvar", pathOf("nowhere.cfg"));
        QCOMPARE(responder->boxes, QVector<ShownBox>(2, fileError));
        QVERIFY(statusText(window.get()).isEmpty());

        // The disk fills up halfway through (files may grow to 10 bytes, bigger
        // writes fail): the old file stays whole.
        const QByteArray old = QByteArray("old configuration");
        writeFile(pathOf("full.cfg"), old);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = 10;
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved10 = saveConfigFile(pathOf("full.cfg"), record());
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previousHandler);
        QVERIFY(!saved10);
        QCOMPARE(contentsOf(pathOf("full.cfg")), old);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::System),
                 QStringList(
                     {"fifo.cfg", "full.cfg", "mem.cfg", "nowhere.cfg", "null.cfg", "socket.cfg"}));
    }
};

QTEST_MAIN(ConfigFileTest)
#include "test_config_file.moc"
