#pragma once
class QComboBox;

// Selects the item at this position, or no item when the position lies
// outside the list, but only when that changes the selection. The list's
// handler therefore runs exactly when what the list shows really changes
// (setting an empty selection again would otherwise signal once more).
void selectListPosition(QComboBox *list, int position);
