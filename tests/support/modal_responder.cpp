#include "modal_responder.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

ModalResponder::ModalResponder()
{
    // Runs inside every nested event loop that a modal box or dialog starts.
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, &ModalResponder::answer);
    timer.start();
}

void ModalResponder::answer()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        // In the order of QMessageBox::Icon.
        const char *kinds[] = {"none", "information", "warning", "critical", "question"};
        boxes.append({QString::fromLatin1(kinds[box->icon()]), box->windowTitle(), box->text()});
        box->done(QMessageBox::Ok);
    } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
        if (dialogHandler)
            dialogHandler(dialog);
        else
            dialog->reject();
    }
}
