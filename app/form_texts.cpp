#include "app/main_window.h"

#include "config/form_fields.h"
#include "ui_MainWindowForm.h"

// The form's text step. It removes and inserts the items of the six lists that
// the form defines, so each stands on its first entry again (and its handler
// sees the change).
void MainWindow::setFormTexts()
{
    ui->retranslateUi(this);
    for (const FormField &field : formFields()) {
        if (field.kind != FieldKind::List && field.kind != FieldKind::Protocol)
            continue;
        auto *list = qobject_cast<QComboBox *>(controlWidgets[size_t(field.input)]);
        list->clear();
        list->insertItems(0, formListItems(field.list));
    }
}
