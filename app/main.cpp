#include "app/application_icon.h"
#include "app/main_window.h"
#include "app/toolkit_translation.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    installApplicationIcon();
    // Before the window exists, so that no language change refills its form.
    installToolkitTranslation(application, QLocale::system());
    MainWindow window;
    window.show();
    return application.exec();
}
