#pragma once
// Builds the main window for a test and reaches its controls by name.
#include "app/main_window.h"

#include <memory>

// The window, with the HID access library loaded from this file (missing: a start-up box).
std::unique_ptr<MainWindow> makeWindow(const QString &hidLibraryFile);

// The form control with this object name; a missing one ends the test run.
template <typename T> T *control(QObject *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QString statusText(MainWindow *window);

// The configuration record on the form of the window made last, while it lives.
const ConfigRecord &record();

QByteArray serializedRecord();
