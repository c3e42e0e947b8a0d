#include "app/serial_port_dialog.h"
#include "config/config_file_format.h"
#include "config/config_record.h"
#include "config_form_helpers.h"
#include "link/serial_link.h"
#include "modal_responder.h"
#include "port_folder.h"
#include "window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QString missingLibrary = QStringLiteral("/nonexistent/libhid_usb.so");

const ShownBox fileError{QStringLiteral("critical"), QStringLiteral("Erro!"),
                         QString::fromUtf8("Não foi possível abrir arquivo especificado")};

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(unreadable)";
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Files may grow to this many bytes while the object lives; bigger writes fail
// as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

// Runs work in a child process as an ordinary user: root may write anywhere,
// so a root test drops to "nobody". Returns the child's exit status.
int asOrdinaryUser(const std::function<int()> &work)
{
    constexpr uid_t NOBODY = 65534;
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setresgid(NOBODY, NOBODY, NOBODY) != 0 ||
             setresuid(NOBODY, NOBODY, NOBODY) != 0))
            _exit(255);
        _exit(work());
    }
    int status = -1;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
} // namespace

class ConfigFileTest : public QObject
{
    Q_OBJECT

    ModalResponder *responder = nullptr;
    std::unique_ptr<MainWindow> window;
    QTemporaryDir settingsHome;
    std::unique_ptr<QTemporaryDir> folder;

    // What the next file dialog is answered with; empty cancels it.
    QString chosenFile;
    int fileDialogs = 0;
    // Caption, filters, folder and parent of the last file dialog.
    QStringList fileDialogLooks;
    int portDialogs = 0;
    // Port dialogs cancelled before one is accepted, and the port chosen there.
    int portCancels = 0;
    int portIndex = 0;

    template <typename T> T *get(const char *name) { return control<T>(window.get(), name); }
    QString pathOf(const char *name) const { return folder->filePath(QString::fromLatin1(name)); }

    void answerDialogs(QDialog *dialog)
    {
        if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
            ++fileDialogs;
            fileDialogLooks = {files->windowTitle(), files->nameFilters().join(';'),
                               files->directory().absolutePath(),
                               files->parentWidget() == window.get() ? "main window" : "other"};
            if (chosenFile.isEmpty()) {
                files->reject();
                return;
            }
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

    void save(const QString &path)
    {
        chosenFile = path;
        get<QAction>("actionSalvar")->trigger();
    }

    void open(const QString &path)
    {
        chosenFile = path;
        get<QAction>("actionAbrir")->trigger();
    }

    // Opens a file of these bytes.
    void openBytes(const QByteArray &bytes)
    {
        writeFile(pathOf("in.cfg"), bytes);
        open(pathOf("in.cfg"));
    }

    QVector<ShownBox> criticalBoxes() const
    {
        QVector<ShownBox> found;
        for (const ShownBox &box : responder->boxes)
            if (box.kind == QStringLiteral("critical"))
                found << box;
        return found;
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
        window = makeWindow(missingLibrary);
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

    void savingTheStartUpRecord()
    {
        save(pathOf("start.cfg"));
        QCOMPARE(fileDialogs, 1);
        QCOMPARE(fileDialogLooks,
                 QStringList({QString::fromUtf8("Arquivos de configuração do Velorix 2"), "*.cfg",
                              QDir::current().absolutePath(), "main window"}));
        QCOMPARE(contentsOf(pathOf("start.cfg")).toHex(' '),
                 QByteArray("1a 55 53 45 52 43 4f 4e 46 d2 f7 c4 44 02 21 3f 09 09 09 09 00 0d 02 "
                            "00 03 00 02 03"));
        QVERIFY(responder->boxes.isEmpty());

        // Saving over a file replaces it whole.
        writeFile(pathOf("start.cfg"), QByteArray(100, 'x'));
        save(pathOf("start.cfg"));
        QCOMPARE(contentsOf(pathOf("start.cfg")).size(), 28);
        QVERIFY(criticalBoxes().isEmpty());
    }

    void cancelledSaveStillMarksTheRecord()
    {
        save(QString());
        QCOMPARE(fileDialogs, 1);
        QCOMPARE(profileName(), QByteArray("USERCONF"));
        QVERIFY(responder->boxes.isEmpty());
        QVERIFY(QDir(folder->path()).isEmpty());
    }

    void saveThenOpenRestoresAnEditedRecord()
    {
        get<QRadioButton>("radioButton_leituraDigitado")->click();
        get<QCheckBox>("checkBox_digitoBarras")->click();
        get<QCheckBox>("checkBox_valor")->click();
        get<QCheckBox>("checkBox_SKM")->click();
        get<QComboBox>("comboBox_velocidade")->setCurrentIndex(1);
        get<QComboBox>("comboBox_bbSep2")->setCurrentIndex(40);
        get<QCheckBox>("checkBox_checkCMC7")->click();
        get<QCheckBox>("checkBox_indicaErro")->click();
        get<QRadioButton>("radioButton_modeloBandeja")->click();
        get<QSpinBox>("spinBox_releituras")->setValue(3);
        record().settings[18] |= 0xA4; // reserved bits travel as they are
        const QByteArray edited = settingBytes();
        save(pathOf("edited.cfg"));

        loadBlock(window.get(), serializedBlock("OUTRO", defaultSettings()));
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("OUTRO"));
        open(pathOf("edited.cfg"));
        QCOMPARE(settingBytes(), edited);
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("USERCONF"));
        QVERIFY(get<QCheckBox>("checkBox_valor")->isChecked());
        QCOMPARE(get<QComboBox>("comboBox_bbSep2")->currentIndex(), 40);
        QCOMPARE(portDialogs, 0);
        QVERIFY(responder->boxes.isEmpty());
    }

    void shortLongAndOddFiles()
    {
        openBytes(QByteArray("\x05") + "ABCDEF");
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("ABCDEF"));
        QCOMPARE(settingBytes(), QByteArray(19, '\0'));

        openBytes(QByteArray("\xff") + QByteArray(27, 'Z'));
        QVERIFY(get<QLineEdit>("lineEdit_cliente")->text().isEmpty());
        QCOMPARE(settingBytes(), QByteArray(19, '\0'));

        openBytes(QByteArray());
        QVERIFY(get<QLineEdit>("lineEdit_cliente")->text().isEmpty());
        QCOMPARE(settingBytes(), QByteArray(19, '\0'));

        // A long file: only the 27 bytes after the count byte count.
        QByteArray longFile("\x7f");
        for (int i = 0; i < 300; ++i)
            longFile += static_cast<char>('A' + i % 26);
        openBytes(longFile);
        QCOMPARE(get<QLineEdit>("lineEdit_cliente")->text(), QStringLiteral("ABCDEFGH"));
        QCOMPARE(settingBytes(), QByteArray("IJKLMNOPQRSTUVWXYZA"));

        // A count below 26 leaves the rest zero.
        openBytes(QByteArray("\x10") + QByteArray(27, 'Q'));
        QCOMPARE(settingBytes(), QByteArray(9, 'Q') + QByteArray(10, '\0'));
        QVERIFY(responder->boxes.isEmpty());
        QCOMPARE(portDialogs, 0);
    }

    void serialFileAsksForAPortUntilOneIsAccepted()
    {
        PortFolder ports;
        ports.addPort(3);
        ports.addPort(12);
        portCancels = 2;
        portIndex = 1;
        QByteArray settings = defaultSettings();
        settings[3] = static_cast<char>(0xC4);
        openBytes(QByteArray("\x1a") + serializedBlock("USERCONF", settings));
        QCOMPARE(portDialogs, 3);
        QCOMPARE(window->linkSession.com_port_number, 12);
        QVERIFY(get<QAction>("actionSerial")->isChecked());

        // A keyboard file asks for nothing.
        portDialogs = 0;
        openBytes(QByteArray("\x1a") + serializedBlock("USERCONF", defaultSettings()));
        QCOMPARE(portDialogs, 0);
        QCOMPARE(window->linkSession.com_port_number, 12);
        QVERIFY(get<QAction>("actionTeclado")->isChecked());
    }

    void cancelledOpenChangesNothing()
    {
        loadBlock(window.get(), serializedBlock("ANTES", defaultSettings()));
        open(QString());
        QCOMPARE(fileDialogs, 1);
        QCOMPARE(fileDialogLooks,
                 QStringList({QString::fromUtf8("Arquivos de configuração do Velorix 2"), "*.cfg",
                              QDir::current().absolutePath(), "main window"}));
        QCOMPARE(portDialogs, 0);
        QCOMPARE(profileName(), QByteArray("ANTES").leftJustified(8, '\0'));
        QCOMPARE(settingBytes(), defaultSettings());
    }

    void unreadableFilesChangeNothing()
    {
        loadBlock(window.get(), serializedBlock("ANTES", defaultSettings()));
        // Opens, but every read fails: this must not load as an empty file.
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), pathOf("mem.cfg")));
        open(pathOf("mem.cfg"));
        QCOMPARE(criticalBoxes(), QVector<ShownBox>{fileError});
        QCOMPARE(profileName(), QByteArray("ANTES").leftJustified(8, '\0'));
        QCOMPARE(settingBytes(), defaultSettings());
        QVERIFY(statusText(window.get()).isEmpty());

        // Something that is there but is no file to read.
        responder->boxes.clear();
        const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(pathOf("socket.cfg")).constData(),
                 sizeof address.sun_path);
        QCOMPARE(bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        open(pathOf("socket.cfg"));
        ::close(socketFd);
        QCOMPARE(criticalBoxes(), QVector<ShownBox>{fileError});
        QCOMPARE(profileName(), QByteArray("ANTES").leftJustified(8, '\0'));

        // Neither is a FIFO, with no writer or a silent one, nor a device:
        // opening or reading them would block the window for good.
        const QByteArray fifo = QFile::encodeName(pathOf("fifo.cfg"));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), pathOf("null.cfg")));
        int silentWriter = -1;
        for (const char *name : {"fifo.cfg", "fifo.cfg", "null.cfg"}) {
            responder->boxes.clear();
            open(pathOf(name));
            QCOMPARE(criticalBoxes(), QVector<ShownBox>{fileError});
            QCOMPARE(profileName(), QByteArray("ANTES").leftJustified(8, '\0'));
            if (silentWriter < 0)
                silentWriter = ::open(fifo.constData(), O_RDWR | O_NONBLOCK);
        }
        ::close(silentWriter);
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

        const struct
        {
            const char *name;
            bool saved;
        } cases[] = {{"edit.cfg", true}, {"new.cfg", false}, {"readonly.cfg", false}};
        const int wrong = asOrdinaryUser([&] {
            int failed = 0;
            for (size_t i = 0; i < std::size(cases); ++i)
                if (saveConfigFile(locked + '/' + cases[i].name, record()) != cases[i].saved)
                    failed |= 1 << i;
            return failed;
        });
        chmod(QFile::encodeName(locked).constData(), 0755);
        QCOMPARE(wrong, 0);
        uint8_t image[CONFIG_FILE_SIZE] = {CONFIG_FILE_COUNT};
        record().serialize(image + 1);
        QCOMPARE(contentsOf(locked + "/edit.cfg"),
                 QByteArray(reinterpret_cast<char *>(image), sizeof image));
        QCOMPARE(contentsOf(locked + "/readonly.cfg"), old);
        QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"edit.cfg", "readonly.cfg"}));
    }

    void failedSavesKeepTheOldFileAndSaySo()
    {
        // The file cannot be created at all: it would go where no file can be made.
        QVERIFY(QFile::link(QStringLiteral("/proc/velorix.cfg"), pathOf("nowhere.cfg")));
        save(pathOf("nowhere.cfg"));
        QCOMPARE(criticalBoxes(), QVector<ShownBox>{fileError});
        QVERIFY(statusText(window.get()).isEmpty());

        // The disk fills up halfway through: the old file stays whole.
        responder->boxes.clear();
        const QByteArray old = QByteArray("old configuration");
        writeFile(pathOf("full.cfg"), old);
        {
            FileSizeLimit limit(10);
            save(pathOf("full.cfg"));
        }
        QCOMPARE(criticalBoxes(), QVector<ShownBox>{fileError});
        QCOMPARE(contentsOf(pathOf("full.cfg")), old);
        QCOMPARE(QDir(folder->path()).entryList(QDir::Files | QDir::System),
                 QStringList({"full.cfg", "nowhere.cfg"}));
        QVERIFY(statusText(window.get()).isEmpty());
    }
};

QTEST_MAIN(ConfigFileTest)
#include "test_config_file.moc"
