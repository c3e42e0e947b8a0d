#pragma once
// The lists from which the operator picks the separator and indicator
// characters, and the mapping between a list position and a character code.
#include <QString>
#include <cstdint>

// NULL, TAB, ENTER, SPACE, '!' to '~', BCKSPC.
constexpr int CHARACTER_LIST_SIZE = 99;

// The text of the item at position 0 to 98.
QString characterListItem(int position);

// The BCC value list: 256 items, 00 to FF.
constexpr int HEX_LIST_SIZE = 256;

// The text of the BCC value list's item for 0 to 255: two uppercase hex digits.
QString hexListItem(int value);

// 0 -> 0x00, 1 -> 0x09, 2 -> 0x0D, any other p -> p + 0x1D (8 bits).
// A list with no selection (-1) therefore gives 0x1C.
uint8_t listIndexToChar(int position);

// 0x00 -> 0, 0x09 -> 1, 0x0D -> 2, any other c -> c - 0x1D. Codes no item
// stands for give a position outside 0 to 98, which selects nothing.
int charToListIndex(uint8_t code);
