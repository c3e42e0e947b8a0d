#include "app/tools_menu.h"

#include "app/main_window.h"
#include "app/read_test_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void addToolsMenu(MainWindow *window)
{
    QMenu *tools = window->menuBar()->addMenu(QStringLiteral("Ferramentas"));
    tools->setObjectName(QStringLiteral("menuFerramentas"));
    QAction *readTest = tools->addAction(QStringLiteral("Teste de leitura"));
    readTest->setObjectName(QStringLiteral("actionTesteLeitura"));
    QObject::connect(readTest, &QAction::triggered, window, [window] {
        // One read test at a time: it holds the port in serial mode.
        auto *open = window->findChild<ReadTestWindow *>();
        if (!open) {
            // The interface the "Dispositivo" menu has checked, as the commands take it.
            const auto *keyboard = window->findChild<QAction *>(QStringLiteral("actionTeclado"));
            const ByteNaming mode =
                keyboard->isChecked() ? ByteNaming::Keyboard : ByteNaming::Serial;
            open = new ReadTestWindow(window->form, window->linkSession, mode, window);
        }
        open->show();
        open->raise();
        open->activateWindow();
    });
}

void closeReadTest(MainWindow *window)
{
    delete window->findChild<ReadTestWindow *>();
}
