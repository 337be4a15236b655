#include "main/PhoneShow.h"

#include "core/FpLibraries.h"
#include "core/UserPhoto.h"
#include "platform/base/files.h"
#include "platform/fp/fpapi.h"
#include "widgets/CanvasPaint.h"

IMPLEMENT_DYNAMIC(CPhoneShow, CJHCanvas)

namespace {

constexpr DWORD kFrameStride = kCameraWidth * 3;

}  // namespace

CPhoneShow::CPhoneShow() : m_cameraFrame(static_cast<size_t>(kFrameStride) * kCameraHeight) {}

CPhoneShow::~CPhoneShow() = default;

void CPhoneShow::EnablePreview(BOOL enable) {
    if (!enable) {
        if (m_previewing && GetSafeHwnd()) KillTimer(kPreviewTimer);
        m_previewing = false;
        return;
    }
    m_haveCameraFrame = false;
    m_previewing = true;
    SetTimer(kPreviewTimer, kPreviewMs);
}

void CPhoneShow::ResetFields() {
    m_hidden = TRUE;
    m_photo.Destroy();
    m_photoPath.Empty();
    m_userId.Empty();
    m_imageSource = 0;
    m_haveCameraFrame = false;
    m_photoStale = true;
}

void CPhoneShow::SetPhotoPath(CString path) {
    m_photoPath = path;
    m_photoStale = true;
}

void CPhoneShow::SetUserId(CString userId) {
    m_userId = userId;
    m_photoStale = true;
}

void CPhoneShow::SetMode(int mode) {
    m_mode = mode;
    m_photoStale = true;
}

void CPhoneShow::OnTimer(UINT_PTR id) {
    if (id != kPreviewTimer) {
        CJHCanvas::OnTimer(id);
        return;
    }
    if (SnapCameraFrame()) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

bool CPhoneShow::SnapCameraFrame() {
    if (!g_FpLib.VeltoCamSnap || !g_FpLib.VeltoCamSnap(m_cameraFrame.data())) return false;
    m_haveCameraFrame = true;
    return true;
}

// The picture the operator saw when the preview stopped is the one kept;
// without one, the camera is asked now.
bool CPhoneShow::StoreSnapshot() {
    if (!IsUserPhotoFile(m_photoPath)) return false;
    if (!m_haveCameraFrame && !SnapCameraFrame()) return false;
    CxImage picture;
    if (!picture.CreateFromArray(m_cameraFrame.data(), kCameraWidth, kCameraHeight, 24, kFrameStride, false))
        return false;
    CreateDirectoryW(UserPhotoFolder(), nullptr);
    return picture.Save(m_photoPath, CXIMAGE_FORMAT_JPG);
}

void CPhoneShow::LoadPhoto(const CString& path) {
    m_photo.Destroy();
    LoadPhotoFile(path, m_photo);
}

void CPhoneShow::RefreshPhoto() {
    if (!m_photoStale) return;
    m_photoStale = false;
    m_photo.Destroy();
    CString path;
    if (m_mode == kModeSnapshot && StoreSnapshot())
        LoadPhoto(m_photoPath);
    else if (m_mode == kModeStoredPhoto && FindShownUserPhoto(m_userId, path))
        LoadPhoto(path);
}

// The live picture shows whatever the flags say: the page starts the
// preview without touching them.
void CPhoneShow::OnPaint() {
    CCanvasPaint paint(this);
    const CRect& client = paint.Client();
    if (m_previewing) {
        CxImage frame;
        if (m_haveCameraFrame &&
            frame.CreateFromArray(m_cameraFrame.data(), kCameraWidth, kCameraHeight, 24, kFrameStride, false))
            frame.Draw(paint.Dc().GetSafeHdc(), client);
        return;
    }
    if (m_hidden || !m_imageSource) return;
    RefreshPhoto();
    if (m_photo.IsValid()) m_photo.Draw(paint.Dc().GetSafeHdc(), client);
}
