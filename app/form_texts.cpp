#include "app/main_window.h"

#include "config/form_fields.h"
#include "ui_MainWindowForm.h"

#include <QSignalBlocker>

namespace {
// The six lists whose items the form defines, and the entry each stands on
// once the form is built.
struct FixedList
{
    QComboBox *list;
    FormList items;
    int firstEntry;
};

QList<FixedList> fixedLists(Ui::MainWindowForm *ui)
{
    return {
        {ui->comboBox_velocidade, FormList::KeyboardSpeed, 3},
        {ui->comboBox_baud, FormList::BaudRate, 6},
        {ui->comboBox_byte, FormList::DataBits, 0},
        {ui->comboBox_stopBits, FormList::StopBits, 1},
        {ui->comboBox_paridade, FormList::Parity, 0},
        {ui->comboBox_protocol, FormList::Protocol, 0},
    };
}
} // namespace

// Part of building the form: the items come from the table the headless
// program decodes with. The form's handlers are already connected, but
// building the form reaches none of them.
void MainWindow::fillFixedLists()
{
    for (const FixedList &fixed : fixedLists(ui)) {
        const QSignalBlocker quiet(fixed.list);
        fixed.list->insertItems(0, formListItems(fixed.items));
        fixed.list->setCurrentIndex(fixed.firstEntry);
    }
}

// The form's text step. It removes and inserts the items of the six lists,
// so each stands on its first entry again (and its handler sees the change).
void MainWindow::setFormTexts()
{
    ui->retranslateUi(this);
    for (const FixedList &fixed : fixedLists(ui)) {
        fixed.list->clear();
        fixed.list->insertItems(0, formListItems(fixed.items));
    }
}
