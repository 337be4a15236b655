// Line pictograms for the control-panel entries, the page buttons and the
// status icons, drawn in one ink inside a square box.
#pragma once

#include "tools/device-image/skin/canvas.h"

namespace skin {

enum class Pictogram {
    Fingerprint, FingerprintPlus, Users, UserPlus, UserMinus, UserSearch, UserEdit, Database, DatabaseUp,
    DatabaseRestore, Import, Export, UserExport, RecordExport, RecordSearch, Update, StatusKeys, AutoStatus,
    Bell, Message, TimeCard, Gear, Device, Network, Display, RecordSettings, Calendar, Info, FingerGear, Camera,
    VerifyMode, Door, DoorOpen, Clock, GroupClock, Shield, Wifi, Serial232, Serial485, Card, Keypad
};

void DrawPictogram(Canvas& canvas, Pictogram pictogram, float x, float y, float size, Color ink);

}  // namespace skin
