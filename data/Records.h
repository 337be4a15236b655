// The rows the data store exchanges with the rest of the system. They are
// passed by value.
#pragma once

#include "platform/base/CString.h"

// A row of Userinfo. DeptName is filled only when a user is read (from the
// joined Dept row); writes use Deptid.
struct UserInfoRecord {
    CString userid;
    CString CardNo;
    CString Name;
    CString sex;
    CString pwd;
    CString DeptName;
    CString IconPath;
    CString Birthday;
    int GroupNO = 0;
    int Reserved = 65535;
    int Deptid = 65535;
    // 6: follow the device's verification mode.
    int ACFlag = 6;
    int AdminFlag = 0;
    // Bit n set: finger n enrolled.
    int FPFlag = 0;
};

// A row of Checkinout.
struct CheckinoutRecord {
    CString Userid;
    // "YYYY-MM-DD HH:MM:SS", 24-hour clock.
    CString CheckTime;
    int CheckType = 0;
    int IsDownLoad = 0;
    // The top 8 bits are the pass type.
    int WorkNumberAndPassType = 0;
};

// A row of Dept.
struct DeptRecord {
    int Deptid = 0;
    CString DeptName;
    int SupDeptid = 0;
    int DeptGroup = 0;
};
