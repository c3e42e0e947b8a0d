#pragma once
// Small helpers for the suites that drive the configuration form.
#include "app/main_window.h"
#include "config/config_record.h"
#include "window_fixture.h"

#include <QByteArray>
#include <QWidget>
#include <cstring>

// Enables the control and every widget it sits in, so that click() reaches it.
inline void makeClickable(QWidget *control)
{
    for (QWidget *w = control; w; w = w->parentWidget())
        w->setEnabled(true);
}

inline QByteArray settingBytes()
{
    return QByteArray(reinterpret_cast<const char *>(record().settings), sizeof record().settings);
}

inline QByteArray profileName()
{
    return QByteArray(reinterpret_cast<const char *>(record().profileName),
                      sizeof record().profileName);
}

inline void clearProfileName()
{
    memset(record().profileName, 0, sizeof record().profileName);
}

// A 27-byte serialized record: the name padded with zeros, then the settings.
inline QByteArray serializedBlock(const QByteArray &name, const QByteArray &settings)
{
    QByteArray block = name.leftJustified(CONFIG_NAME_SIZE, '\0', true);
    block += settings;
    return block;
}

// The start-up settings, for blocks that change only a few bytes.
inline QByteArray defaultSettings()
{
    return QByteArray(reinterpret_cast<const char *>(DEFAULT_SETTINGS), CONFIG_SETTINGS_SIZE);
}

inline void loadBlock(MainWindow *window, QByteArray block)
{
    QMetaObject::invokeMethod(window, "update_gui_from_file", Q_ARG(char *, block.data()));
}
