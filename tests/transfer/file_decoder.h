// A reader of the transfer files written for the tests alone, from the
// layouts as the management software reads them, sharing no code with the
// terminal's writers: big-endian fields by hand, names through the host's
// own GBK converter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedUser {
    uint64_t userid = 0;
    // The password as text ("" for none), the card (-1 for none).
    std::string pwd;
    int64_t card = -1;
    std::string nameUtf8;
    int dept = 0, group = 0, acflag = 0, mask = 0;
    bool admin = false;
};

struct DecodedFingerprint {
    uint64_t userid = 0;
    int fingerByte = 0;
    std::string templ;  // 338 bytes
};

struct DecodedRecord {
    uint64_t userid = 0;
    uint32_t seconds = 0;
    int passType = 0, checkType = 0;
    bool zeroTail = false;
};

// The file as count and records; `ok` false when the length is not the
// count's (3 + count x record size).
template <class Record>
struct DecodedFile {
    bool ok = false;
    unsigned count = 0;
    std::vector<Record> records;
};

DecodedFile<DecodedUser> DecodeUserFile(const std::string& bytes);
DecodedFile<DecodedFingerprint> DecodeFingerprintFile(const std::string& bytes);
DecodedFile<DecodedRecord> DecodeAttendanceFile(const std::string& bytes);

// Seconds from 2000-01-02 00:00:00 to a date and time, by the host's calendar.
uint32_t SecondsFromEpoch2000(int year, int month, int day, int hour, int minute, int second);
// UTF-8 to GBK and back through the host.
std::string Utf8ToGbk(const std::string& text);
std::string GbkToUtf8(const std::string& text);
