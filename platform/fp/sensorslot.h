// What lies on the simulated fingerprint sensor: a folder holding
// "finger.bmp" while a finger is pressed (and "camera.bmp" when the camera
// should show a picture). The script's `finger PATH` and `lift` write it;
// the sensor library reads it at each capture. The folder is named by the
// environment variable QUILLON_SENSOR_DIR, or else is "Sensor" beside the
// sensor library.
#pragma once

#include <string>

constexpr const char* kSensorFolderVariable = "QUILLON_SENSOR_DIR";
constexpr const char* kFingerFileName = "finger.bmp";
constexpr const char* kCameraFileName = "camera.bmp";

// The folder in force; `libraryFolder` is where the sensor library lies.
std::string SensorFolder(const std::string& libraryFolder);
// Names the folder for this process and the libraries it loads.
void SetSensorFolder(const std::string& folder);

// Puts a copy of the image on the sensor (an 8-bit, 24-bit or 32-bit BMP);
// false when it cannot be read or written. The copy appears whole or not at all.
bool PlaceFingerOnSensor(const std::string& sensorFolder, const std::string& imagePath);
void LiftFingerFromSensor(const std::string& sensorFolder);
