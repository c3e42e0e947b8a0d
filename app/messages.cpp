#include "app/main_window.h"
#include "commands/message_catalogue.h"

#include <QMessageBox>
#include <QStatusBar>

void MainWindow::show_error(int error)
{
    const CatalogueMessage *message = catalogueMessage(error);
    if (!message || message->kind == MessageKind::None)
        return;
    const QString title = QString::fromUtf8(message->title);
    const QString text = QString::fromUtf8(message->text);
    if (message->kind == MessageKind::Critical)
        QMessageBox::critical(this, title, text);
    else
        QMessageBox::warning(this, title, text);
    if (message->onStatusBar)
        statusBar()->showMessage(text);
}
