// The window classes every program has: the stock controls and dialogs.
// Each control is a window procedure registered under its class name.
#pragma once

void RegisterStockClasses();

void RegisterStaticClass();
void RegisterButtonClass();
void RegisterDialogClass();
