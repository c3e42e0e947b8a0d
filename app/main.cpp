#include "app/main_window.h"
#include "app/toolkit_translation.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velorix-config.png")));
    // Before the window exists, so that no language change refills its form.
    installToolkitTranslation(application, QLocale::system());
    MainWindow window;
    window.show();
    return application.exec();
}
