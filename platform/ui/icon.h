// Icons: pictures with per-pixel alpha, drawn at the size they were loaded
// at. They come from image files (LR_LOADFROMFILE; PNG, BMP or JPEG, told
// apart by their content) or from the program's image resources: the
// program has no resource section, so an image resource is a file the
// program registers under an id (RegisterImageResource), next to the class
// that uses it, as dialog templates are.
#pragma once

#include "platform/base/types.h"

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_LOADFROMFILE 0x0010
#define LR_DEFAULTSIZE 0x0040

#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCEW(id) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(id))))
#define MAKEINTRESOURCE MAKEINTRESOURCEW
#define IS_INTRESOURCE(name) ((reinterpret_cast<ULONG_PTR>(name) >> 16) == 0)
#endif

// `devicePath` is kept as given (a literal, or a string that outlives its use).
void RegisterImageResource(UINT id, LPCWSTR devicePath);

// IMAGE_ICON only; cx/cy 0 keep the picture's own size. Null (and
// ERROR_FILE_NOT_FOUND, or ERROR_INVALID_PARAMETER for another type) when
// there is nothing to load.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
HANDLE LoadImage(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);

// Draws the icon with its upper-left corner at (x, y). FALSE for a handle
// that is not a live icon.
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DestroyIcon(HICON icon);
