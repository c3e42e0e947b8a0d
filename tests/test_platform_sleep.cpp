#include "platform/dynamic_library.h"
#include "platform/sleep.h"

#include <QElapsedTimer>
#include <QTest>
#include <csignal>
#include <sys/time.h>

namespace {
volatile sig_atomic_t alarms = 0;
void countAlarm(int)
{
    alarms = alarms + 1;
}
} // namespace

class PlatformSleepTest : public QObject
{
    Q_OBJECT

private slots:
    void waitsLastAtLeastTheirTime()
    {
        int services = 0, hooked = 0;
        void (*const count)(void *) = [](void *context) { ++*static_cast<int *>(context); };
        for (bool served : {false, true}) {
            services = 0;
            platform_set_wait_service(served ? count : nullptr, &services);
            QElapsedTimer timer;
            timer.start();
            platform_sleep(1030); // whole seconds and a part
            QVERIFY(timer.elapsed() >= 1030);
            QCOMPARE(services > 0, served);
        }
        // A hooked wait hands over the time and serves the front end once.
        void *previous = nullptr;
        QVERIFY(platform_set_wait_service(count, &hooked, &previous) == count &&
                previous == &services);
        uint32_t handed = 0;
        platform_set_sleep_hook([](uint32_t ms, void *to) { *static_cast<uint32_t *>(to) = ms; },
                                &handed);
        platform_sleep(2000);
        QVERIFY(handed == 2000 && hooked == 1);
        platform_set_sleep_hook(nullptr, nullptr);
        platform_set_wait_service(nullptr, nullptr);
    }

    void signalsDoNotCutWaitsShort()
    {
        // A handler without SA_RESTART, as the command line installs for
        // Ctrl-C, and a timer that rings all through the waits.
        struct sigaction action = {}, previous = {};
        action.sa_handler = countAlarm;
        sigemptyset(&action.sa_mask);
        QCOMPARE(sigaction(SIGALRM, &action, &previous), 0);
        const itimerval ringing{{0, 20000}, {0, 20000}}, off{};
        QCOMPARE(setitimer(ITIMER_REAL, &ringing, nullptr), 0);
        int services = 0;
        void (*const count)(void *) = [](void *context) { ++*static_cast<int *>(context); };
        for (bool served : {false, true}) {
            platform_set_wait_service(served ? count : nullptr, &services);
            alarms = 0;
            QElapsedTimer timer;
            timer.start();
            platform_sleep(300);
            QVERIFY2(timer.elapsed() >= 300, qPrintable(QString::number(timer.elapsed())));
            QVERIFY(alarms > 0);
        }
        setitimer(ITIMER_REAL, &off, nullptr);
        sigaction(SIGALRM, &previous, nullptr);
        platform_set_wait_service(nullptr, nullptr);
    }

    void executableFolderStaysInTheBuffer()
    {
        char folder[4096], buffer[4096];
        QVERIFY(platform_executable_dir(folder, sizeof folder));
        QCOMPARE(QString::fromLocal8Bit(folder), QCoreApplication::applicationDirPath());
        for (size_t size : {size_t(1), size_t(2), strlen(folder) + 1}) {
            memset(buffer, 'x', sizeof buffer);
            QVERIFY(!platform_executable_dir(buffer, size)); // too small for the path
            QVERIFY(buffer[size] == 'x' && buffer[size + 1] == 'x');
        }
    }
};

QTEST_GUILESS_MAIN(PlatformSleepTest)
#include "test_platform_sleep.moc"
