// The window as the form model's view: every control drives the model and
// shows its state. The rules themselves are tested on the model
// (test_config_form).
#include "app/serial_port_dialog.h"
#include "config/form_fields.h"
#include "config/form_settings.h"
#include "config_form_helpers.h"
#include "modal_responder.h"
#include "port_folder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSpinBox>

namespace {
bool sameState(const ControlState &a, const ControlState &b)
{
    return a.enabled == b.enabled && a.checked == b.checked && a.value == b.value;
}

// Whether the widget shows its control's state: its own enabled state, its
// check mark, position, value or text.
bool shows(QObject *widget, const ControlState &state, const QString &name)
{
    if (auto *action = qobject_cast<QAction *>(widget))
        return action->isEnabled() == state.enabled && action->isChecked() == state.checked;
    auto *w = qobject_cast<QWidget *>(widget);
    if (w->isEnabledTo(w->parentWidget()) != state.enabled)
        return false;
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->isChecked() == state.checked;
    if (auto *list = qobject_cast<QComboBox *>(w))
        return list->currentIndex() == state.value;
    if (auto *spin = qobject_cast<QSpinBox *>(w))
        return spin->value() == state.value;
    if (auto *line = qobject_cast<QLineEdit *>(w))
        return line->text() == name;
    return true;
}

// Whether the operator can act on the widget: enabled with its group boxes,
// and shown.
bool operable(QObject *widget, QWidget *window)
{
    if (auto *action = qobject_cast<QAction *>(widget))
        return action->isEnabled() && action->isVisible();
    auto *w = qobject_cast<QWidget *>(widget);
    return w->isEnabled() && w->isVisibleTo(window);
}
} // namespace

class FormViewTest : public QObject
{
    Q_OBJECT

    ModalResponder responder; // outlives every window
    std::unique_ptr<MainWindow> window;

    // Every widget shows its control's state in the window's model, the
    // model's reach of it is the widget's (settings by name refuse what the
    // operator cannot reach), and that model is the twin driven with the same
    // actions: the controls that differ.
    QString differences(const ConfigForm &twin)
    {
        const ConfigForm &model = window->form;
        QStringList wrong;
        for (size_t i = 0; i < FORM_CONTROL_COUNT; ++i) {
            const auto c = static_cast<Control>(i);
            if (!shows(control<QObject>(window.get(), controlName(c)), model.state(c),
                       model.nameText()) ||
                !sameState(model.state(c), twin.state(c)) || model.nameText() != twin.nameText())
                wrong << QLatin1String(controlName(c));
            if (unreachableReason(model, c).isEmpty() !=
                operable(control<QObject>(window.get(), controlName(c)), window.get()))
                wrong << QStringLiteral("reach of ") + QLatin1String(controlName(c));
        }
        if (memcmp(&model.record(), &twin.record(), sizeof(ConfigRecord)) != 0)
            wrong << QStringLiteral("record");
        return wrong.join(' ');
    }

private slots:
    void init() { window = makeWindow(QStringLiteral("/nonexistent/libhid_usb.so")); }

    // Random operator actions on the widgets, and now and then a whole block
    // loaded, against a model driven with the same actions.
    void everyControlDrivesAndShowsItsWidget()
    {
        PortFolder noPorts;
        responder.setDialogHandler([](QDialog *dialog) { dialog->accept(); });
        ConfigForm twin;
        QVERIFY2(differences(twin).isEmpty(), qPrintable(differences(twin)));
        QRandomGenerator random(1);
        QSet<Control> driven;
        for (int step = 0; step < 1500; ++step) {
            const auto c = static_cast<Control>(random.bounded(int(FORM_CONTROL_COUNT)));
            QObject *widget = control<QObject>(window.get(), controlName(c));
            if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                // What the form does not offer is clicked through its slot.
                if (button->isEnabled()) {
                    button->click();
                } else {
                    button->setChecked(button->autoExclusive() || !button->isChecked());
                    QMetaObject::invokeMethod(
                        window.get(),
                        qPrintable(QStringLiteral("on_%1_clicked").arg(controlName(c))));
                }
                twin.click(c, button->isChecked());
            } else if (auto *list = qobject_cast<QComboBox *>(widget)) {
                const int position = random.bounded(-1, list->count());
                list->setCurrentIndex(position);
                twin.select(c, position);
            } else if (auto *spin = qobject_cast<QSpinBox *>(widget)) {
                const int value = random.bounded(-1, spin->maximum() + 2);
                spin->setValue(value);
                twin.select(c, value);
            } else if (auto *action = qobject_cast<QAction *>(widget)) {
                action->trigger();
                c == Control::actionTeclado ? twin.chooseKeyboard() : twin.chooseSerial(0);
            } else {
                QByteArray block(int(CONFIG_SERIALIZED_SIZE), '\0');
                for (char &byte : block)
                    byte = static_cast<char>(random.bounded(256));
                loadBlock(window.get(), block);
                twin.load(reinterpret_cast<const uint8_t *>(block.constData()));
            }
            driven.insert(c);
            const QString wrong = differences(twin);
            QVERIFY2(
                wrong.isEmpty(),
                qPrintable(QStringLiteral("step %1, %2: %3").arg(step).arg(controlName(c), wrong)));
        }
        QCOMPARE(driven.size(), qsizetype(FORM_CONTROL_COUNT));
        QVERIFY2(differences(twin).isEmpty(), qPrintable(differences(twin)));
    }

    // The port dialog stays in the window: cancelling it still takes the port.
    void serialActionTakesThePortOfTheDialog()
    {
        PortFolder ports;
        ports.addPort(3);
        ports.addPort(12);
        // The dialog's listing is checked in test_port_dialog.
        responder.setDialogHandler([&](QDialog *dialog) {
            qobject_cast<SerialPortDialog *>(dialog)->portList()->setCurrentIndex(1);
            dialog->reject();
        });
        window->linkSession.com_port_number = 1;
        editForm(window.get(), "actionSerial!");
        FORM_IS(window.get(), "actionSerial:C actionTeclado:c groupBox_CDC:E s3&80=80");
        QCOMPARE(window->linkSession.com_port_number, 12);
    }
};

QTEST_MAIN(FormViewTest)
#include "test_form_view.moc"
