// The inventory of the application folder: program files, configuration,
// database, fonts, sounds, language files, working folders and every skin
// image. Each missing item is reported through the debug output as its
// path followed by " can not be found!". `folder` has no trailing "\".
#pragma once

#include "platform/base/CString.h"

int FileExistsReport(const CString& path);
int CheckFolderReport(const CString& path);
int CheckInstallation();
int CheckProgramFiles(const CString& folder);
int CheckLanguageFiles(const CString& folder);
int CheckFolders(const CString& folder);
int CheckSkins(const CString& folder);
int CheckSkinFiles(const CString& skinRoot, const CString& skin);
