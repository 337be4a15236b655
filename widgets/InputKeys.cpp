#include "widgets/InputKeys.h"

namespace {

// The Shift cell and the entry no cell reaches hold '&' / '*', never typed.
constexpr InputKey kInputKeys[] = {
    {0, 0, u'A', u'a'}, {1, 0, u'B', u'b'}, {2, 0, u'C', u'c'}, {3, 0, u'D', u'd'}, {4, 0, u'E', u'e'},
    {5, 0, u'&', u'*'}, {0, 1, u'F', u'f'}, {1, 1, u'G', u'g'}, {2, 1, u'H', u'h'}, {3, 1, u'I', u'i'},
    {4, 1, u'J', u'j'}, {5, 1, u' ', u' '}, {6, 1, u',', u','}, {0, 2, u'K', u'k'}, {1, 2, u'L', u'l'},
    {2, 2, u'M', u'm'}, {3, 2, u'N', u'n'}, {4, 2, u'O', u'o'}, {5, 2, u'.', u'.'}, {6, 2, u'?', u'?'},
    {0, 3, u'P', u'p'}, {1, 3, u'Q', u'q'}, {2, 3, u'R', u'r'}, {3, 3, u'S', u's'}, {4, 3, u'T', u't'},
    {5, 3, u'/', u'/'}, {6, 3, u':', u':'}, {0, 4, u'U', u'u'}, {1, 4, u'V', u'v'}, {2, 4, u'W', u'w'},
    {3, 4, u'X', u'x'}, {4, 4, u'Y', u'y'}, {5, 4, u'Z', u'z'}, {6, 4, u'-', u'-'}, {-1, -1, u'&', u'*'},
};
static_assert(sizeof(kInputKeys) / sizeof(kInputKeys[0]) == 35);

constexpr int kLastColumn = kInputKeyColumns - 1;
constexpr int kLastRow = kInputKeyRows - 1;

}  // namespace

char16_t InputKeyCharacter(int column, int row, bool upper) {
    for (const InputKey& key : kInputKeys) {
        if (key.column == column && key.row == row) return upper ? key.upper : key.lower;
    }
    return kNoInputKey;
}

int NextShiftState(int shift) { return (shift + 1) % 3; }

void InputCursor::Right() {
    if (column != kLastColumn && !OnShift()) {
        ++column;
        return;
    }
    column = 0;
    row = row == kLastRow ? 0 : row + 1;
}

void InputCursor::Left() {
    if (column > 0) {
        --column;
        return;
    }
    column = kLastColumn;
    row = kLastRow;
}

void InputCursor::Down() {
    row = row == kLastRow ? 0 : row + 1;
    if (row == 0 && column == kLastColumn) column = 5;
}

void InputCursor::Up() {
    row = row == 0 ? kLastRow : row - 1;
    if (row == 0 && column == kLastColumn) column = 5;
}
