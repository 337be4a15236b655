#include "core/UserPhoto.h"

#include "core/AppDir.h"
#include "core/Folders.h"
#include "core/LangLibraries.h"
#include "platform/base/files.h"

CString UserPhotoFolder() {
    CString folder;
    GetAppDir(folder);
    return folder + u"ICON\\";
}

bool UserPhotoPath(const CString& userId, CString& path) {
    if (!IsSafeFileNamePart(userId)) return false;
    path = UserPhotoFolder() + userId + u".jpg";
    return true;
}

bool IsUserPhotoFile(const CString& path) {
    const CString folder = UserPhotoFolder();
    const int length = folder.GetLength();
    if (path.GetLength() <= length || path.Left(length).CompareNoCase(folder) != 0) return false;
    return IsSafeFileNamePart(path.Mid(length));
}

namespace {

// The first existing file of folder + ID + one of the known extensions.
bool FindPhotoIn(const CString& folder, const CString& userId, CString& path) {
    if (!IsSafeFileNamePart(userId)) return false;
    static constexpr const char16_t* kExtensions[] = {u".bmp", u".jpg", u".jpe", u".jfi", u".png", u".ico",
                                                      u".cur", u".tif", u".tga", u".pcx", u".wbm"};
    const CString base = folder + userId;
    for (const char16_t* extension : kExtensions) {
        const CString candidate = base + extension;
        if (GetFileAttributesW(candidate) == INVALID_FILE_ATTRIBUTES) continue;
        path = candidate;
        return true;
    }
    return false;
}

}  // namespace

bool FindUserPhoto(const CString& userId, CString& path) { return FindPhotoIn(UserPhotoFolder(), userId, path); }

bool FindShownUserPhoto(const CString& userId, CString& path) {
    return FindPhotoIn(GetSDCardFolder() + u"\\ICON\\", userId, path) || FindUserPhoto(userId, path);
}

bool LoadPhotoFile(const CString& path, CxImage& image) {
    const int dot = path.ReverseFind(u'.');
    return image.Load(path, dot < 0 ? DWORD{CXIMAGE_FORMAT_UNKNOWN} : CxImage::GetTypeIdFromName(path.Mid(dot)));
}
