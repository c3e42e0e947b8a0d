#include "app/application_icon.h"

#include <QApplication>
#include <QIcon>

void installApplicationIcon()
{
    // The icon is compiled into this static library; a program linking it
    // would otherwise leave the resource out.
    Q_INIT_RESOURCE(resources);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velorix-config.png")));
}
