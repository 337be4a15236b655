// Files and folders of the terminal: existence tests, the removable media
// folders named by the storage manager's profiles, the snapshot and photo
// folders, and the weather icon name.
#pragma once

#include "platform/base/CString.h"

int FileExists(const CString& path);
int DirExists(const CString& path);

// "\" + the profile's "Folder" value, read once per run.
CString GetSDCardFolder();
CString GetUSBDiskFolder();
// 1 with the folder when it exists at the end.
int GetSnapFolder(CString& folder);
CString GetIconFolder();

// The weather picture ("3.png"), from HKLM\SOFTWARE\VELTO\Weather "png".
extern CString g_weatherIcon;
int LoadWeatherIcon();
