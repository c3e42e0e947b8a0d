#pragma once
// Fills the form's separator lists and its BCC list.
#include "config/character_lists.h"

class QComboBox;

// Empties the list, then adds the 99 character items.
void fillCharacterList(QComboBox *list);

// Adds the 256 items 00 to FF to a list that is empty at that moment.
void fillHexList(QComboBox *list);
