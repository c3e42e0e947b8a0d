#pragma once
// The little language in which the form suites write edits and expectations,
// for the form model and for the window alike (no widgets here).
#include "config/config_record.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <cstring>
#include <tuple>

inline QByteArray serializedBlock(const QByteArray &name, const QByteArray &settings)
{
    return name.leftJustified(CONFIG_NAME_SIZE, '\0', true) + settings;
}

inline QByteArray defaultSettings()
{
    return QByteArray(reinterpret_cast<const char *>(DEFAULT_SETTINGS), CONFIG_SETTINGS_SIZE);
}

// Items of the language: a name, one of ":#=!", a value ("_" stands for a space).
inline QList<std::tuple<QString, QChar, QString>> formItems(const char *text)
{
    QList<std::tuple<QString, QChar, QString>> items;
    for (const QString &item : QString::fromUtf8(text).split(' ', Qt::SkipEmptyParts)) {
        const auto at = item.indexOf(QRegularExpression(QStringLiteral("[:#=!]")));
        items.append({item.left(at), item[at], item.mid(at + 1).replace('_', ' ')});
    }
    return items;
}

// Expectations on the record: "sN=HEX" the settings bytes from N on, "sN&MM=HEX"
// byte N masked with MM, "P=TEXT" the profile name padded with zeros. False
// when the item is not about the record.
inline bool recordItem(const ConfigRecord &record, const QString &name, const QString &value,
                       QString *actual, QString *want)
{
    static const QRegularExpression byteItem(QStringLiteral("^s(\\d+)(?:&(\\w+))?$"));
    const QByteArray settings(reinterpret_cast<const char *>(record.settings),
                              sizeof record.settings);
    if (const auto m = byteItem.match(name); m.hasMatch()) {
        QByteArray bytes = settings.mid(m.captured(1).toInt(), value.size() / 2);
        if (m.hasCaptured(2))
            bytes[0] = static_cast<char>(bytes[0] & m.captured(2).toInt(nullptr, 16));
        *actual = QString::fromLatin1(bytes.toHex());
        *want = value;
        return true;
    }
    if (name != QLatin1String("P"))
        return false;
    *actual = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(record.profileName), CONFIG_NAME_SIZE).toHex());
    *want = QString::fromLatin1(value.toLatin1().leftJustified(8, '\0').toHex());
    return true;
}

// Edits of the record: "sN=HEX" writes settings bytes from N on, "P=TEXT" the
// profile name. False when the item is not about the record.
inline bool editRecord(ConfigRecord &record, const QString &name, const QString &value)
{
    if (name == QLatin1String("P")) {
        memcpy(record.profileName, value.toLatin1().leftJustified(8, '\0').constData(), 8);
        return true;
    }
    static const QRegularExpression byteItem(QStringLiteral("^s\\d+$"));
    if (!byteItem.match(name).hasMatch())
        return false;
    const QByteArray bytes = QByteArray::fromHex(value.toLatin1());
    memcpy(record.settings + name.mid(1).toInt(), bytes.constData(),
           static_cast<size_t>(bytes.size()));
    return true;
}

#define FORM_IS(form, expected)                                                                    \
    do {                                                                                           \
        const QString wrong = formMismatches(form, expected);                                      \
        QVERIFY2(wrong.isEmpty(), qPrintable(QString::fromUtf8(expected) + ": " + wrong));         \
    } while (false)

// Runs steps "edits > expected; edits > expected; ...": each step's edits
// through apply, then its expectations through FORM_IS.
template <typename Form, typename Apply> void runSteps(Form form, const char *steps, Apply apply)
{
    for (const QString &step : QString::fromUtf8(steps).split(';')) {
        apply(step.section('>', 0, 0).toUtf8());
        const QByteArray expected = step.section('>', 1).toUtf8();
        FORM_IS(form, expected.constData());
    }
}
