// The window as the form model's view: every control of the model has its
// widget, found by object name; the view shows the model's states and
// forwards the widgets' signals, never deciding a state itself.
#include "app/main_window.h"
#include "config/form_fields.h"
#include "ui_MainWindowForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

namespace {
// The slot connected by name to the control's signal, if the window has one.
QByteArray slotSignature(Control control)
{
    const char *signal = nullptr;
    switch (controlKind(control)) {
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        signal = "_clicked()";
        break;
    case ControlKind::List:
        signal = "_currentIndexChanged(int)";
        break;
    case ControlKind::SpinBox:
        signal = "_valueChanged(int)";
        break;
    default:
        return {};
    }
    return QByteArray("on_") + controlName(control) + signal;
}

void showState(QObject *widget, const ControlState &state, const QString &text)
{
    const QSignalBlocker quiet(widget);
    if (auto *action = qobject_cast<QAction *>(widget)) {
        action->setEnabled(state.enabled);
        action->setChecked(state.checked);
        return;
    }
    auto *w = qobject_cast<QWidget *>(widget);
    w->setEnabled(state.enabled);
    if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        // A radio button is unchecked by checking its partner.
        if (state.checked || !button->autoExclusive())
            button->setChecked(state.checked);
    } else if (auto *list = qobject_cast<QComboBox *>(w)) {
        list->setCurrentIndex(state.value);
    } else if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        spin->setValue(state.value);
    } else if (auto *line = qobject_cast<QLineEdit *>(w)) {
        line->setText(text);
    }
}
} // namespace

void MainWindow::bindForm()
{
    for (size_t i = 0; i < FORM_CONTROL_COUNT; ++i) {
        const auto control = static_cast<Control>(i);
        QObject *widget = findChild<QObject *>(QLatin1String(controlName(control)));
        if (!widget)
            qFatal("the form has no control %s", controlName(control));
        controlWidgets[i] = widget;
        const FormField *field = fieldEditedBy(control);
        if (auto *list = qobject_cast<QComboBox *>(widget); list && field) {
            const QSignalBlocker quiet(list);
            list->clear();
            list->addItems(formListItems(field->list));
        }
        // A control added to the table and the form needs no slot of its own.
        const QByteArray slot = slotSignature(control);
        if (slot.isEmpty() || metaObject()->indexOfSlot(slot.constData()) >= 0)
            continue;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            connect(button, &QAbstractButton::clicked, this,
                    [this, control] { operatorClicked(control); });
        else if (auto *list = qobject_cast<QComboBox *>(widget))
            connect(list, &QComboBox::currentIndexChanged, this,
                    [this, control](int index) { showForm(form.select(control, index)); });
        else if (auto *spin = qobject_cast<QSpinBox *>(widget))
            connect(spin, &QSpinBox::valueChanged, this,
                    [this, control](int value) { showForm(form.select(control, value)); });
    }
    for (size_t i = 0; i < FORM_CONTROL_COUNT; ++i)
        showState(controlWidgets[i], form.state(static_cast<Control>(i)), form.nameText());
}

void MainWindow::showForm(const ChangedControls &changed)
{
    for (size_t i = 0; i < FORM_CONTROL_COUNT; ++i)
        if (changed.contains(static_cast<Control>(i)))
            showState(controlWidgets[i], form.state(static_cast<Control>(i)), form.nameText());
}
