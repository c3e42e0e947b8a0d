#include "app/character_list_fill.h"

#include <QComboBox>

void fillCharacterList(QComboBox *list)
{
    list->clear();
    for (int position = 0; position < CHARACTER_LIST_SIZE; ++position)
        list->addItem(characterListItem(position));
}

void fillHexList(QComboBox *list)
{
    for (int value = 0; value < 256; ++value)
        list->addItem(hexListItem(value));
}
