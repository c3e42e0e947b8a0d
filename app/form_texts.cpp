#include "app/main_window.h"

#include "ui_MainWindowForm.h"

// The form's text step. uic's retranslateUi renames the items of the lists
// the form defines but keeps their selection; the form's own text step removes
// and inserts them, so each of the six lists stands on its first entry again
// (and its handler sees the change).
void MainWindow::setFormTexts()
{
    ui->retranslateUi(this);
    for (QComboBox *list : {ui->comboBox_velocidade, ui->comboBox_baud, ui->comboBox_byte,
                            ui->comboBox_stopBits, ui->comboBox_paridade, ui->comboBox_protocol}) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        list->clear();
        list->insertItems(0, items);
    }
}
