// Descriptors opened below the front ends are closed when they are done with
// and never passed on to programs started meanwhile.
#include "platform/pseudo_terminal.h"
#include "platform/regular_file.h"
#include "sim/pty_reader.h"

#include <QDir>
#include <QTemporaryFile>
#include <QTest>
#include <fcntl.h>
#include <unistd.h>

namespace {
qsizetype openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size();
}
} // namespace

class DescriptorsTest : public QObject
{
    Q_OBJECT

private slots:
    void closedWhenDone()
    {
        const qsizetype before = openDescriptors();
        char slave[256];
        const int master = pty_open_master(slave, sizeof slave);
        const int other = pty_open_slave(slave);
        QVERIFY(master >= 0 && other >= 0);
        pty_close(other);
        pty_close(master);
        QCOMPARE(openDescriptors(), before);
        {
            ReaderModel model;
            PtyReader reader(model, 9600);
            QVERIFY(reader.isOpen());
        }
        QCOMPARE(openDescriptors(), before);
    }

    void masterHearsTheSlaveSideWhenItWrites()
    {
        char slave[256];
        const int master = pty_open_master(slave, sizeof slave);
        const int other = pty_open_slave(slave);
        QVERIFY(master >= 0 && other >= 0);
        QVERIFY(!pty_wait_readable(master, 10)); // nothing sent yet
        QCOMPARE(write(other, "x", 1), ssize_t(1));
        QVERIFY(pty_wait_readable(master, 5000));
        pty_close(other);
        pty_close(master);
    }

    void aFileReadIsNotInherited()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        const int descriptor = platform_open_regular_file(QFile::encodeName(file.fileName()));
        QVERIFY(descriptor != REGULAR_FILE_NONE);
        QVERIFY(fcntl(descriptor, F_GETFD) & FD_CLOEXEC);
        platform_close_file(descriptor);
        QCOMPARE(fcntl(descriptor, F_GETFD), -1);
    }
};

QTEST_GUILESS_MAIN(DescriptorsTest)
#include "test_descriptors.moc"
