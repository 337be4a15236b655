// The window classes every program has: the stock controls and dialogs.
// Each control is a window procedure registered under its class name
// (WC_STATIC, WC_BUTTON, WC_EDIT, WC_LISTVIEW, WC_HEADER, WC_TREEVIEW,
// WC_DIALOG): a new control adds its Register...Class here and one call in
// RegisterStockClasses, which runs on the first look-up of a class.
#pragma once

void RegisterStockClasses();

void RegisterStaticClass();
void RegisterButtonClass();
void RegisterDialogClass();
void RegisterEditClass();
void RegisterHeaderClass();
void RegisterListViewClass();
void RegisterTreeViewClass();
