#pragma once
// Answers the modal boxes and dialogs that the window opens while a test
// drives it, and records what each message box said.
#include <QTimer>
#include <QVector>
#include <functional>

class QDialog;

struct ShownBox
{
    QString kind, title, text; // kind: "critical", "warning", "information", "question", "none"
    bool operator==(const ShownBox &) const = default;
};

class ModalResponder : public QObject
{
public:
    // Handles a dialog that is not a message box (by default: rejects it).
    using DialogHandler = std::function<void(QDialog *)>;

    ModalResponder();

    void setDialogHandler(DialogHandler handler) { dialogHandler = std::move(handler); }

    QVector<ShownBox> boxes;

private:
    void answer();

    QTimer timer;
    DialogHandler dialogHandler;
};
