#pragma once
#include "commands/command_set.h"

#include <QMainWindow>

namespace Ui {
class MainWindowForm;
}

// Raised while the program itself sets form controls (construction, form
// refresh); the character-list and BCC handlers then leave the record alone.
extern bool fillingForm;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void changeEvent(QEvent *event) override;

private slots:
    // Application shell (app/)
    void on_actionSair_triggered();
    void show_error(int error);

    // Reader commands (commands/)
    void on_pushButton_firmware_clicked();
    void on_pushButton_getSerial_clicked();
    void on_pushButton_wrtSerial_clicked();
    void on_lineEdit_serial_textChanged(const QString &text);
    void on_actionDFU_triggered();
    void on_pushButton_getConfig_clicked();
    void on_pushButton_config_clicked();
    void on_actionDefault_triggered();

private:
    // Sets every form text again, refilling the six lists that the form defines.
    void setFormTexts();
    void hideUnofferedControls();

    // The one request/answer exchange of every reader command. Reports a
    // failure itself, once, and returns whether the answer was accepted.
    bool exchange(const CommandExchange &command, uint8_t *answer);
    CommandFailure serialExchange(const CommandExchange &command, uint8_t *answer);
    // Shows a progress text on the status bar and paints it at once.
    void showProgress(const QString &text);

    Ui::MainWindowForm *ui;
};
