// Users' photos: one folder for every page and screen, the application
// folder's "ICON\", holding a file named after the user ID. An ID that could
// name a file elsewhere ("\", "/", ":" or "..") has no photo.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/image.h"

// The application folder + "ICON\".
CString UserPhotoFolder();
// The file a camera snapshot of the user is stored in (ID + ".jpg"); false
// for an ID that cannot name a file.
bool UserPhotoPath(const CString& userId, CString& path);
// True for a file directly in the photo folder with a name that stays
// there: where a snapshot may be written.
bool IsUserPhotoFile(const CString& path);
// The user's photo: the first existing file of ID + ".bmp", ".jpg", ".jpe",
// ".jfi", ".png", ".ico", ".cur", ".tif", ".tga", ".pcx", ".wbm"; false when
// there is none.
bool FindUserPhoto(const CString& userId, CString& path);
// The photo a screen shows for the user: one in the storage card's "\ICON"
// folder first, then the photo folder's, where the user pages store theirs.
bool FindShownUserPhoto(const CString& userId, CString& path);
// Loads a photo file as the type its extension names.
bool LoadPhotoFile(const CString& path, CxImage& image);
