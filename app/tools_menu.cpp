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
            // The interface the reader is set to, as the "Dispositivo" menu shows it.
            const ByteNaming mode = window->configRecord.isOn(Field::cdcInterface)
                                        ? ByteNaming::Serial
                                        : ByteNaming::Keyboard;
            open = new ReadTestWindow(window->configRecord, window->linkSession, mode, window);
        }
        open->show();
        open->raise();
        open->activateWindow();
    });
}
