#include "app/main_window.h"

#include <QMessageBox>
#include <QStatusBar>

namespace {
enum class BoxKind
{
    None,
    Critical,
    Warning
};

struct Message
{
    BoxKind kind;
    const char *title;
    const char *text;
    bool onStatusBar;
};

// Messages 1 to HID_LIBRARY_INCOMPLETE, by number. Texts stand exactly as the operators have always
// seen them.
const Message catalogue[] = {
    {BoxKind::Critical, "Erro", "Dispositivo não encontrado", true},
    {BoxKind::Warning, "Aviso", "Dispositivo tipo Teclado detectado", true},
    {BoxKind::Warning, "Aviso", "Dispositivo tipo CDC detectado", true},
    {BoxKind::Critical, "Erro", "Erro de comunicação", true},
    {BoxKind::None, "", "", false},
    {BoxKind::Warning, "Aviso!", "Número de série deve possuir 6 digitos", true},
    {BoxKind::Warning, "Aviso!", "Somente caracteres numéricos(0-9) são permitidos", true},
    {BoxKind::Critical, "Erro!", "Não foi possível abrir arquivo especificado", true},
    {BoxKind::Critical, "Erro!", "Arquivo hid_usb.dll não enconrado", false},
    {BoxKind::Critical, "Erro!", "Falha no carregamento do componente hid_usb.dll", false},
};
} // namespace

void MainWindow::show_error(int error)
{
    if (error < 1 || error > static_cast<int>(std::size(catalogue)))
        return;
    const Message &message = catalogue[error - 1];
    if (message.kind == BoxKind::None)
        return;
    const QString title = QString::fromUtf8(message.title);
    const QString text = QString::fromUtf8(message.text);
    if (message.kind == BoxKind::Critical)
        QMessageBox::critical(this, title, text);
    else
        QMessageBox::warning(this, title, text);
    if (message.onStatusBar)
        statusBar()->showMessage(text);
}
