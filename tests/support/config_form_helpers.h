#pragma once
// Small helpers for the suites that drive the configuration form.
#include "form_steps.h"
#include "window_fixture.h"

#include <QAction>

inline void loadBlock(MainWindow *window, QByteArray block)
{
    QMetaObject::invokeMethod(window, "update_gui_from_file", Q_ARG(char *, block.data()));
}

// What differs between the form and a line of expectations ("_" stands for a space):
//   sN=HEX    the settings bytes from N on         sN&MM=HEX  byte N masked with MM
//   P=TEXT    the profile name, padded with zeros
//   name:EC   E/e enabled or not, C/c checked or not, V/v visible or not
//   name#N    a list's position or a spin box's value   name=TEXT  the text it shows
//   name.property=TEXT   any property (".property": the window's own)
inline QString formMismatches(QObject *window, const char *expected)
{
    QStringList wrong;
    for (const auto &[name, op, value] : formItems(expected)) {
        QString actual, want = value;
        if (recordItem(record(), name, value, &actual, &want)) {
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

// Edits the form: "name!" triggers an action, "name#N" moves a list or the
// spin box, and the record edits of form_steps.h write the record behind the
// controls' back.
inline void editForm(MainWindow *window, const char *edits)
{
    for (const auto &[name, op, value] : formItems(edits)) {
        QObject *object = window->findChild<QObject *>(name);
        ConfigRecord edited = record();
        if (editRecord(edited, name, value))
            window->form.replaceRecord(edited);
        else if (op == '#')
            object->setProperty(object->property("currentIndex").isValid() ? "currentIndex"
                                                                           : "value",
                                value.toInt());
        else
            qobject_cast<QAction *>(object)->trigger();
    }
}
