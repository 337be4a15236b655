#include "platform/fp/sensorslot.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/fp/greyimage.h"

std::string SensorFolder(const std::string& libraryFolder) {
    const char* folder = std::getenv(kSensorFolderVariable);
    if (folder && *folder) return folder;
    return libraryFolder + "/Sensor";
}

void SetSensorFolder(const std::string& folder) {
    ::setenv(kSensorFolderVariable, folder.c_str(), 1);
}

bool PlaceFingerOnSensor(const std::string& sensorFolder, const std::string& imagePath) {
    GreyImage image;
    if (!ReadGreyBmp(imagePath, &image)) return false;
    std::error_code error;
    std::filesystem::create_directories(sensorFolder, error);
    return WriteGreyBmp(sensorFolder + "/" + kFingerFileName, image);
}

void LiftFingerFromSensor(const std::string& sensorFolder) {
    std::remove((sensorFolder + "/" + kFingerFileName).c_str());
}
