// The on-screen keyboard's keys: seven columns by five rows of letters and
// punctuation, with Shift over columns 5 and 6 of the top row, and how the
// keypad's arrow keys move the highlight over them.
#pragma once

#include "platform/base/types.h"

inline constexpr int kInputKeyColumns = 7;
inline constexpr int kInputKeyRows = 5;
// What a cell without a key types (none is reachable).
inline constexpr char16_t kNoInputKey = 0xFFFF;

struct InputKey {
    int column;
    int row;
    char16_t upper;
    char16_t lower;
};

// The character of the cell, in upper or lower case; kNoInputKey when the
// cell holds no key.
char16_t InputKeyCharacter(int column, int row, bool upper);

// Shift states: lower case, the next character in upper case, caps lock.
inline constexpr int kShiftLower = 0;
inline constexpr int kShiftOnce = 1;
inline constexpr int kShiftLock = 2;
// Shift pressed: lower -> once -> lock -> lower.
int NextShiftState(int shift);

// The highlighted cell. Rows and columns wrap so the highlight never leaves
// the keyboard, and it never rests on the right half of the Shift key.
struct InputCursor {
    int column = 0;
    int row = 0;

    bool OnShift() const { return row == 0 && column >= 5; }
    // Along a row, then on to the start of the next one (the last row
    // wraps to the first); Shift ends the top row.
    void Right();
    // Back along a row; from the first column to the last key of the
    // keyboard.
    void Left();
    void Down();
    void Up();
};
