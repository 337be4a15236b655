#include "tests/transfer/file_decoder.h"

#include <iconv.h>

#include <ctime>

namespace {

uint64_t Be(const std::string& s, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v * 256 + static_cast<unsigned char>(s[at + i]);
    return v;
}

std::string Convert(const char* to, const char* from, const std::string& text) {
    iconv_t cd = iconv_open(to, from);
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* o = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

template <class Record, class Fn>
DecodedFile<Record> Split(const std::string& bytes, size_t size, Fn decode) {
    DecodedFile<Record> file;
    if (bytes.size() < 3) return file;
    file.count = static_cast<unsigned>(Be(bytes, 0, 3));
    for (size_t at = 3; at + size <= bytes.size(); at += size) file.records.push_back(decode(bytes, at));
    file.ok = bytes.size() == 3 + size * file.count;
    return file;
}

}  // namespace

std::string Utf8ToGbk(const std::string& text) { return Convert("GBK", "UTF-8", text); }
std::string GbkToUtf8(const std::string& text) { return Convert("UTF-8", "GBK", text); }

DecodedFile<DecodedUser> DecodeUserFile(const std::string& bytes) {
    return Split<DecodedUser>(bytes, 28, [](const std::string& s, size_t at) {
        DecodedUser u;
        u.userid = Be(s, at, 5);
        if (Be(s, at + 5, 3) != 0xFFFFFF) {
            const int digits = static_cast<unsigned char>(s[at + 5]) >> 4;
            u.pwd = std::to_string(Be(s, at + 5, 3) & 0xFFFFF);
            u.pwd.insert(0, digits > static_cast<int>(u.pwd.size()) ? digits - u.pwd.size() : 0, '0');
        }
        const uint64_t card = Be(s, at + 8, 4);
        u.card = card == 0xFFFFFFFFu ? -1 : static_cast<int64_t>(card);
        std::string name = s.substr(at + 12, 10);
        name.resize(name.find('\0') == std::string::npos ? 10 : name.find('\0'));
        u.nameUtf8 = GbkToUtf8(name);
        u.dept = static_cast<unsigned char>(s[at + 22]);
        u.group = static_cast<unsigned char>(s[at + 23]);
        u.acflag = static_cast<unsigned char>(s[at + 24]);
        u.mask = static_cast<int>(Be(s, at + 25, 2));
        u.admin = static_cast<unsigned char>(s[at + 27]) == 0xC0;
        return u;
    });
}

DecodedFile<DecodedFingerprint> DecodeFingerprintFile(const std::string& bytes) {
    return Split<DecodedFingerprint>(bytes, 344, [](const std::string& s, size_t at) {
        return DecodedFingerprint{Be(s, at, 5), static_cast<unsigned char>(s[at + 5]), s.substr(at + 6, 338)};
    });
}

DecodedFile<DecodedRecord> DecodeAttendanceFile(const std::string& bytes) {
    return Split<DecodedRecord>(bytes, 14, [](const std::string& s, size_t at) {
        return DecodedRecord{Be(s, at, 5), static_cast<uint32_t>(Be(s, at + 5, 4)), static_cast<unsigned char>(s[at + 9]),
                             static_cast<unsigned char>(s[at + 10]), Be(s, at + 11, 3) == 0};
    });
}

uint32_t SecondsFromEpoch2000(int year, int month, int day, int hour, int minute, int second) {
    std::tm when{};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    std::tm epoch{};
    epoch.tm_year = 100;
    epoch.tm_mday = 2;
    return static_cast<uint32_t>(timegm(&when) - timegm(&epoch));
}
