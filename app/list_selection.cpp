#include "app/list_selection.h"

#include <QComboBox>

void selectListPosition(QComboBox *list, int position)
{
    const int resulting = position >= 0 && position < list->count() ? position : -1;
    if (resulting != list->currentIndex())
        list->setCurrentIndex(resulting);
}
