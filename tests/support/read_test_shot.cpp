// The read test window after the simulated reader has read a cheque and a
// bank slip, saved as a picture: read-test-shot teclado|serial OUT.png.
// As a keyboard the keys the reader types reach the capture area as key
// events; over the serial interface the pty reader stands on COM65 of a
// device folder of its own.
#include "app/main_window.h"
#include "app/read_test_window.h"
#include "platform/serial_device.h"
#include "sim/pty_reader.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <unistd.h>

namespace {
constexpr uint8_t LINE_2400_8N1 = 0x02;

void type(QWidget *capture, const uint8_t *keys, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        const int key = keys[i] == 0x09 ? Qt::Key_Tab : keys[i] == 0x0D ? Qt::Key_Return : 0;
        const QString text = key ? QString() : QString(QLatin1Char(char(keys[i])));
        QKeyEvent press(QEvent::KeyPress, key ? key : Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(capture, &press);
    }
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const bool serial = strcmp(argv[1], "serial") == 0;
    QTemporaryDir folder;
    serial_device_use_folder(folder.path().toLocal8Bit().constData());
    ReaderModel model;
    PtyReader reader(model, 2400);
    if (!reader.isOpen() ||
        symlink(reader.devicePath(), folder.filePath("ttyACM0").toLocal8Bit().constData()) != 0)
        return 1;
    MainWindow window;
    ConfigRecord record = window.form.record();
    record.settings[0] = LINE_2400_8N1; // a line a pseudo-terminal takes
    window.form.replaceRecord(record);
    record.serialize(model.configuration);
    window.linkSession.com_port_number = 65;
    window.findChild<QAction *>("actionTeclado")->setChecked(!serial);
    window.findChild<QAction *>("actionSerial")->setChecked(serial);
    window.show();
    window.findChild<QAction *>("actionTesteLeitura")->trigger();
    auto *test = window.findChild<ReadTestWindow *>();
    test->resize(1560, 300); // every column in full
    QWidget *capture = test->findChild<QWidget *>("captura");
    const SimDocument documents[] = {SIM_CHEQUE, SIM_BANK_SLIP};
    int step = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (step == 2) {
            test->grab().save(QString::fromLocal8Bit(argv[2]));
            app.quit();
            return;
        }
        test->endRead();
        if (serial) {
            reader.sendDocument(nullptr, documents[step]);
        } else {
            uint8_t keys[DOCUMENT_MAX_SIZE];
            type(capture, keys,
                 document_send(model.configuration, documents[step], SIM_KEYBOARD, keys));
        }
        ++step;
    });
    timer.start(ReadTestWindow::READ_GAP_MS * 3);
    return app.exec();
}
