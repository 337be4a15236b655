// The fingerprint capture of the main screen, which the enrolment page uses
// too, and the two modes of the shared sensor board: fingerprint sensor or
// camera.
#pragma once

#include <atomic>

#include "platform/base/types.h"

// Room a capture buffer needs: the largest image of any sensor (280 x 280).
constexpr int kCaptureBufferBytes = 78400;

// The capture thread's control word, read on each of its rounds.
enum : int { kCaptureRun = 0, kCaptureSuspend = 1, kCaptureExit = 2 };
extern std::atomic<int> g_captureControl;

// Module handle of the optional USB fingerprint-sensor library: the
// enrolment page picks the image geometry by it. Null while no such library
// is loaded; this terminal's image carries none, so captures go through the
// sensor library.
extern HMODULE g_hUsbFpDll;

// 1 while the camera has the shared sensor.
extern std::atomic<int> g_cameraMode;

// One 8-bit image of the finger on the sensor into `buffer`
// (kCaptureBufferBytes of room; the sensor generation's geometry). In debug
// mode with sensor captures switched off, the application folder's test
// image "loadImage.dat" instead. Nonzero when a finger image was captured;
// 0 when no finger lies there, the camera has the sensor, or it failed.
int CaptureFingerImage(BYTE* buffer);

// The camera takes the shared sensor (unless a USB sensor, driver "LDM",
// is attached, which has a sensor of its own); nothing when it already has.
void SwitchSensorToCamera();
// The fingerprint sensor takes it back under the same rule.
void SwitchSensorToFingerprint();
// What a page does on entry to be sure the camera has not kept the sensor.
void CheckUsbSensorRemoved();
