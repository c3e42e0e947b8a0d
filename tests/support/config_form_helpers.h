#pragma once
// Small helpers for the suites that drive the configuration form.
#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QRegularExpression>
#include <QTest>
#include <cstring>

inline QByteArray settingBytes()
{
    return QByteArray(reinterpret_cast<const char *>(record().settings), sizeof record().settings);
}

inline QByteArray profileName()
{
    return QByteArray(reinterpret_cast<const char *>(record().profileName),
                      sizeof record().profileName);
}

inline QByteArray serializedBlock(const QByteArray &name, const QByteArray &settings)
{
    return name.leftJustified(CONFIG_NAME_SIZE, '\0', true) + settings;
}

inline QByteArray defaultSettings()
{
    return QByteArray(reinterpret_cast<const char *>(DEFAULT_SETTINGS), CONFIG_SETTINGS_SIZE);
}

inline void loadBlock(MainWindow *window, QByteArray block)
{
    QMetaObject::invokeMethod(window, "update_gui_from_file", Q_ARG(char *, block.data()));
}

// Items of the little language below: a name, one of ":#=!", a value.
inline QList<std::tuple<QString, QChar, QString>> formItems(const char *text)
{
    QList<std::tuple<QString, QChar, QString>> items;
    for (const QString &item : QString::fromUtf8(text).split(' ', Qt::SkipEmptyParts)) {
        const auto at = item.indexOf(QRegularExpression(QStringLiteral("[:#=!]")));
        items.append({item.left(at), item[at], item.mid(at + 1).replace('_', ' ')});
    }
    return items;
}

// What differs between the form and a line of expectations ("_" stands for a space):
//   sN=HEX    the settings bytes from N on         sN&MM=HEX  byte N masked with MM
//   P=TEXT    the profile name, padded with zeros
//   name:EC   E/e enabled or not, C/c checked or not, V/v visible or not
//   name#N    a list's position or a spin box's value   name=TEXT  the text it shows
//   name.property=TEXT   any property (".property": the window's own)
inline QString formMismatches(QObject *window, const char *expected)
{
    static const QRegularExpression byteItem(QStringLiteral("^s(\\d+)(?:&(\\w+))?$"));
    QStringList wrong;
    for (const auto &[name, op, value] : formItems(expected)) {
        QString actual, want = value;
        if (const auto m = byteItem.match(name); m.hasMatch()) {
            QByteArray bytes = settingBytes().mid(m.captured(1).toInt(), value.size() / 2);
            if (m.hasCaptured(2))
                bytes[0] = static_cast<char>(bytes[0] & m.captured(2).toInt(nullptr, 16));
            actual = QString::fromLatin1(bytes.toHex());
        } else if (name == QLatin1String("P")) {
            actual = QString::fromLatin1(profileName().toHex());
            want = QString::fromLatin1(value.toLatin1().leftJustified(8, '\0').toHex());
        } else if (QObject *object = name.startsWith('.')
                                         ? window
                                         : window->findChild<QObject *>(name.section('.', 0, 0));
                   !object) {
            actual = QStringLiteral("missing");
        } else if (name.contains('.')) {
            actual = object->property(name.section('.', 1).toLatin1().constData()).toString();
        } else if (op == ':') {
            for (const QChar flag : value) {
                const char *property = flag.toLower() == 'e'   ? "enabled"
                                       : flag.toLower() == 'c' ? "checked"
                                                               : "visible";
                actual += object->property(property).toBool() ? flag.toUpper() : flag.toLower();
            }
        } else {
            const char *shown = op == '#' ? "currentIndex" : "currentText";
            if (!object->property(shown).isValid())
                shown = op == '#' ? "value" : "text";
            actual = object->property(shown).toString();
        }
        if (actual != want)
            wrong << QStringLiteral("%1%2 is %3, not %4").arg(name, op, actual, want);
    }
    return wrong.join(QStringLiteral("; "));
}

#define FORM_IS(window, expected)                                                                  \
    do {                                                                                           \
        const QString wrong = formMismatches(window, expected);                                    \
        QVERIFY2(wrong.isEmpty(), qPrintable(QString::fromUtf8(expected) + ": " + wrong));         \
    } while (false)

// Runs steps "edits > expected; edits > expected; ...": each step's edits
// through apply, then its expectations through FORM_IS.
template <typename Apply> void runSteps(QObject *window, const char *steps, Apply apply)
{
    for (const QString &step : QString::fromUtf8(steps).split(';')) {
        apply(step.section('>', 0, 0).toUtf8());
        const QByteArray expected = step.section('>', 1).toUtf8();
        FORM_IS(window, expected.constData());
    }
}

// Edits the form: "name!" clicks a box, a button or an action (enabling what it
// sits in, so that the click reaches it), "name#N" moves a list or a spin box,
// "sN=HEX" writes settings bytes from N on, "P=TEXT" the profile name, and
// "filling=1" or "filling=0" raises or lowers the window's guard.
inline void editForm(MainWindow *window, const char *edits)
{
    for (const auto &[name, op, value] : formItems(edits)) {
        const QByteArray bytes = QByteArray::fromHex(value.toLatin1());
        QObject *object = window->findChild<QObject *>(name);
        if (name == QLatin1String("filling"))
            window->fillingForm = value == QLatin1String("1");
        else if (name == QLatin1String("P"))
            memcpy(record().profileName, value.toLatin1().leftJustified(8, '\0').constData(), 8);
        else if (op == '=')
            memcpy(record().settings + name.mid(1).toInt(), bytes.constData(),
                   static_cast<size_t>(bytes.size()));
        else if (op == '#')
            object->setProperty(object->property("currentIndex").isValid() ? "currentIndex"
                                                                           : "value",
                                value.toInt());
        else if (auto *action = qobject_cast<QAction *>(object))
            action->trigger();
        else {
            for (QWidget *w = qobject_cast<QWidget *>(object); w; w = w->parentWidget())
                w->setEnabled(true);
            qobject_cast<QAbstractButton *>(object)->click();
        }
    }
}
