// Menus: lists of commands, each a text with an id or a pop-up submenu,
// and the pop-up a program shows at a point to let the user pick one.
//
// The program has no resource section: a menu resource is a table in code
// registered under its id with a static MenuTemplateEntry, as dialog
// templates are, and LoadMenu builds a menu from it.
#pragma once

#include <vector>

#include "platform/base/types.h"
#include "platform/ui/icon.h"

#define ERROR_INVALID_MENU_HANDLE 1401L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L

#define MF_STRING 0x0000
#define MF_GRAYED 0x0001
#define MF_DISABLED 0x0002
#define MF_POPUP 0x0010
#define MF_BYCOMMAND 0x0000
#define MF_BYPOSITION 0x0400
#define MF_SEPARATOR 0x0800

#define TPM_LEFTALIGN 0x0000
#define TPM_TOPALIGN 0x0000
#define TPM_NONOTIFY 0x0080
#define TPM_RETURNCMD 0x0100

struct MenuTemplateItem {
    UINT id;  // 0 with no text: a separator
    const char16_t* text;
    std::vector<MenuTemplateItem> popup;  // not empty: the item opens this submenu
};

struct MenuTemplate {
    UINT id;
    std::vector<MenuTemplateItem> items;
};

void RegisterMenuTemplate(const MenuTemplate* menu);

struct MenuTemplateEntry {
    explicit MenuTemplateEntry(const MenuTemplate& menu) { RegisterMenuTemplate(&menu); }
};

HMENU CreateMenu();
HMENU CreatePopupMenu();
// `item` is the command id, or the submenu's handle with MF_POPUP (the menu
// then owns the submenu).
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
// Destroys the menu and the submenus it owns.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
int GetMenuItemCount(HMENU menu);
HMENU GetSubMenu(HMENU menu, int position);
UINT GetMenuItemID(HMENU menu, int position);
// Null (ERROR_RESOURCE_NAME_NOT_FOUND) when no menu is registered under the id.
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
HMENU LoadMenu(HINSTANCE instance, LPCWSTR name);

// Shows the menu with its upper-left corner at the screen point (moved to
// stay on the screen) and waits, running the message loop, until the user
// taps an item (or chooses it with Up, Down and Enter) or dismisses the menu
// with a tap outside it or Esc. A chosen command is posted to `owner` as
// WM_COMMAND (id, 0), or returned with TPM_RETURNCMD. Returns TRUE (the id
// with TPM_RETURNCMD, 0 when nothing was chosen); FALSE for a bad menu or
// owner, or while another menu is shown.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, void* params);
