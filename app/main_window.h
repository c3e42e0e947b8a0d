#pragma once
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

    // Reader detection (link/)
    bool GetSerialParams();

private:
    // Sets every form text again, refilling the six lists that the form defines.
    void setFormTexts();
    void hideUnofferedControls();

    Ui::MainWindowForm *ui;
};
