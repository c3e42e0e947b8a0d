#include "modal_responder.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

namespace {
QString kindOf(const QMessageBox *box)
{
    switch (box->icon()) {
    case QMessageBox::Critical:
        return QStringLiteral("critical");
    case QMessageBox::Warning:
        return QStringLiteral("warning");
    case QMessageBox::Information:
        return QStringLiteral("information");
    case QMessageBox::Question:
        return QStringLiteral("question");
    default:
        return QStringLiteral("none");
    }
}
} // namespace

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
        boxes.append({kindOf(box), box->windowTitle(), box->text()});
        box->done(QMessageBox::Ok);
        return;
    }
    if (auto *dialog = qobject_cast<QDialog *>(modal)) {
        ++dialogsSeen;
        if (dialogHandler)
            dialogHandler(dialog);
        else
            dialog->reject();
    }
}
