#include "app/main_window.h"

#include "app/tools_menu.h"
#include "commands/message_catalogue.h"
#include "ui_MainWindowForm.h"

#include <QCloseEvent>
#include <QEvent>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindowForm)
{
    ui->setupUi(this);
    progress.attach(statusBar());
    bindForm();
    hideUnofferedControls();
    addToolsMenu(this);
    setWindowTitle(QStringLiteral("Configurador Velorix II") + QStringLiteral(" ") +
                   QStringLiteral("V1.0c"));

    const int loaded = linkSession.loadHidLibrary();
    if (loaded == HID_LOAD_NO_FILE)
        show_error(MESSAGE_HID_LIBRARY_MISSING);
    else if (loaded == HID_LOAD_NO_ENTRY)
        show_error(MESSAGE_HID_LIBRARY_INCOMPLETE);
}

MainWindow::~MainWindow()
{
    closeReadTest(this);
    delete ui;
}

void MainWindow::hideUnofferedControls()
{
    ui->actionDFU->setVisible(false);
    ui->actionDFU->setEnabled(false);
    ui->pushButton_wrtSerial->setEnabled(false);
    ui->pushButton_wrtSerial->setVisible(false);
    ui->lineEdit_cliente->setReadOnly(true);
    ui->comboBox_bcc->setVisible(false);
    ui->label_bccInicial->setVisible(false);
    ui->checkBox_bcc->move(ui->checkBox_bcc->x(), ui->checkBox_bcc->y() + 15);
    ui->actionDefault->setVisible(false);
    ui->actionDefault->setEnabled(false);
    ui->checkBox_check2de5->setVisible(false);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        setFormTexts();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (commandRunning) {
        closeRequested = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::runExclusive(const std::function<void()> &command)
{
    if (commandRunning)
        return;
    commandRunning = true;
    command();
    commandRunning = false;
    // The operator asked to close while the reader was busy: do it now that
    // the command has run to its end.
    if (closeRequested) {
        closeRequested = false;
        close();
    }
}

void MainWindow::on_actionSair_triggered()
{
    close();
}
