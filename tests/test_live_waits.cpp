// While a command waits on the reader, the window paints and serves what is
// posted to it, but no user input and no second command reach it, and a
// close waits for the command's end.
#include "modal_responder.h"
#include "simulated_port.h"
#include "window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
constexpr int READER_COM = 65;
const QEvent::Type POSTED = static_cast<QEvent::Type>(QEvent::User + 1);

struct Probe : QWidget
{
    using QWidget::QWidget;
    int paints = 0, inputs = 0, posted = 0;
    bool event(QEvent *event) override
    {
        const QEvent::Type type = event->type();
        paints += type == QEvent::Paint;
        posted += type == POSTED;
        inputs += type == QEvent::KeyPress || type == QEvent::MouseButtonPress;
        return QWidget::event(event);
    }
};
} // namespace

class LiveWaitsTest : public QObject
{
    Q_OBJECT

private slots:
    void commandWaitsServeTheWindowButNotItsInput()
    {
        ModalResponder responder;
        auto window = makeWindow(QStringLiteral(SIM_HID_LIBRARY));
        SimulatedPort port(READER_COM, 2400, &window->linkSession);
        control<QAction>(window.get(), "actionSerial")->setChecked(true);
        control<QAction>(window.get(), "actionTeclado")->setChecked(false);
        auto *probe = new Probe(window->centralWidget());
        probe->setGeometry(0, 0, 20, 20);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCoreApplication::processEvents();

        auto *configButton = control<QPushButton>(window.get(), "pushButton_config");
        int configPresses = 0;
        connect(configButton, &QPushButton::pressed, [&] { ++configPresses; });
        int paintsBefore = 0;
        bool servedDuringWait = false;
        port.sleep.onSleep = [&](uint32_t) {
            port.reader.service();
            if (port.sleep.waits.size() == 1) {
                paintsBefore = probe->paints;
                probe->update();
                QCoreApplication::postEvent(probe, new QEvent(POSTED));
                QCoreApplication::postEvent(
                    probe, new QKeyEvent(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5"));
                const QPointF at = QRectF(configButton->rect()).center();
                for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                    QCoreApplication::postEvent(
                        configButton,
                        new QMouseEvent(type, at, configButton->mapToGlobal(at), Qt::LeftButton,
                                        Qt::LeftButton, Qt::NoModifier));
                QMetaObject::invokeMethod(control<QPushButton>(window.get(), "pushButton_firmware"),
                                          "click", Qt::QueuedConnection);
                QCoreApplication::postEvent(window.get(), new QCloseEvent);
                return;
            }
            // All of it came up at the start of this wait.
            servedDuringWait = probe->posted == 1 && probe->paints > paintsBefore &&
                               probe->inputs == 0 && configPresses == 0 && window->isVisible() &&
                               QApplication::overrideCursor();
        };

        control<QPushButton>(window.get(), "pushButton_getSerial")->click();

        QVERIFY(servedDuringWait);
        QCOMPARE(port.sleep.waits, (std::vector<uint32_t>{2000, 2000}));
        QCOMPARE(port.model.requests, (std::vector<std::vector<uint8_t>>{{0xAA}, {0xCC}}));
        QCOMPARE(control<QLineEdit>(window.get(), "lineEdit_serial")->text(),
                 QString::fromLatin1(port.model.serialNumber));
        QVERIFY(control<QLineEdit>(window.get(), "lineEdit_firmware")->text().isEmpty() &&
                responder.boxes.isEmpty());
        // The close asked for during the command is carried out at its end; no input came late.
        QVERIFY(!window->isVisible() && probe->inputs == 0);
    }
};

QTEST_MAIN(LiveWaitsTest)
#include "test_live_waits.moc"
