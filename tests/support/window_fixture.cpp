#include "window_fixture.h"

#include "config/config_record.h"
#include "link/hid_library.h"

#include <QStatusBar>

std::unique_ptr<MainWindow> makeWindow(const QString &hidLibraryFile)
{
    hid_library_use_file(hidLibraryFile.toLocal8Bit().constData());
    // The record is process-wide; every window starts from an empty name.
    configRecord = {};
    return std::make_unique<MainWindow>();
}

QString statusText(MainWindow *window)
{
    return window->statusBar()->currentMessage();
}

QByteArray serializedRecord()
{
    uint8_t bytes[CONFIG_SERIALIZED_SIZE];
    configRecord.serialize(bytes);
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes);
}
