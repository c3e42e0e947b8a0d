#pragma once
// Answers the modal boxes and dialogs that the window opens while a test
// drives it, and records what each message box said.
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>

struct ShownBox
{
    QString kind, title, text; // kind: "critical", "warning", "information", "question", "none"
    bool operator==(const ShownBox &) const = default;
};

class ModalResponder : public QObject
{
public:
    // Answers inside every nested event loop that a modal box or dialog starts.
    ModalResponder()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                // In the order of QMessageBox::Icon.
                const char *kinds[] = {"none", "information", "warning", "critical", "question"};
                boxes.append(
                    {QString::fromLatin1(kinds[box->icon()]), box->windowTitle(), box->text()});
                box->done(QMessageBox::Ok);
            } else if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialogHandler ? dialogHandler(dialog) : dialog->reject();
        });
        timer.start(0);
    }

    // Handles a dialog that is not a message box (by default: rejects it).
    void setDialogHandler(std::function<void(QDialog *)> handler)
    {
        dialogHandler = std::move(handler);
    }

    QVector<ShownBox> boxes;

private:
    QTimer timer;
    std::function<void(QDialog *)> dialogHandler;
};
