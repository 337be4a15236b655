// CPhoneShow: the photo frame of the user pages. It shows the camera's live
// picture while the preview runs, stores a snapshot of it as a JPEG file
// (mode 2) and shows a user's stored photo by user ID (mode 4), each
// stretched over the frame. Outside the preview, with the hidden flag set or
// no image source it shows only the page under it.
//
// The photo folder is the application folder's "ICON\" (core/UserPhoto.h):
// a snapshot is written only to a file in that folder, and an ID that could
// name a file elsewhere shows no photo.
#pragma once

#include <vector>

#include "platform/ui/image.h"
#include "widgets/JHCanvas.h"

class CPhoneShow : public CJHCanvas {
    DECLARE_DYNAMIC(CPhoneShow)

public:
    enum : int { kModeNothing = 0, kModeSnapshot = 2, kModeStoredPhoto = 4 };
    static constexpr UINT_PTR kPreviewTimer = 2;
    static constexpr UINT kPreviewMs = 200;

    CPhoneShow();
    ~CPhoneShow() override;

    // TRUE repaints the frame with a new camera picture every 200 ms; FALSE
    // stops, keeping the last picture for a snapshot.
    void EnablePreview(BOOL enable);
    // Hidden flag set, no image, both texts emptied, no image source.
    void ResetFields();
    // 1 shows a picture, 0 none.
    void SetImageSource(UINT_PTR source) { m_imageSource = source; }
    // The file the next snapshot is stored to.
    void SetPhotoPath(CString path);
    // The user whose stored photo mode 4 shows.
    void SetUserId(CString userId);
    // Mode 2 stores a snapshot at the next paint and shows it; mode 4 shows
    // the stored photo of the user ID.
    void SetMode(int mode);
    // The hidden flag becomes the opposite; the window is neither shown nor
    // hidden.
    void SetShownFlag(BOOL shown) { m_hidden = !shown; }

    const CString& PhotoPath() const { return m_photoPath; }
    const CString& UserId() const { return m_userId; }
    int Mode() const { return m_mode; }
    BOOL IsHiddenFlag() const { return m_hidden; }
    bool IsPreviewing() const { return m_previewing; }

    using CJHCanvas::CaptureBackground;

protected:
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;

private:
    bool SnapCameraFrame();
    // Writes the camera picture to the photo path; false when there is no
    // picture or the path lies outside the photo folder.
    bool StoreSnapshot();
    void LoadPhoto(const CString& path);
    // Brings the shown photo up to date with the mode, path and ID.
    void RefreshPhoto();

    CString m_photoPath;
    CString m_userId;
    int m_mode = kModeNothing;
    UINT_PTR m_imageSource = 0;
    BOOL m_hidden = TRUE;
    bool m_previewing = false;
    bool m_photoStale = true;
    std::vector<BYTE> m_cameraFrame;  // blue, green, red; rows top to bottom
    bool m_haveCameraFrame = false;
    CxImage m_photo;
};
