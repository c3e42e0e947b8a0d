#include "window_fixture.h"

#include "link/hid_library.h"

#include <QPointer>
#include <QStatusBar>

static QPointer<MainWindow> lastWindow;

std::unique_ptr<MainWindow> makeWindow(const QString &hidLibraryFile)
{
    hid_library_use_file(hidLibraryFile.toLocal8Bit().constData());
    auto window = std::make_unique<MainWindow>();
    lastWindow = window.get();
    return window;
}

const ConfigRecord &record()
{
    return lastWindow->form.record();
}

QString statusText(MainWindow *window)
{
    return window->statusBar()->currentMessage();
}

QByteArray serializedRecord()
{
    uint8_t bytes[CONFIG_SERIALIZED_SIZE];
    record().serialize(bytes);
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes);
}
