#include "core/TextFile.h"

#include <algorithm>
#include <cerrno>

#include "core/TextConverter.h"
#include "core/XmlDoc.h"
#include "platform/base/atomic_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/host_read.h"
#include "platform/base/lasterror.h"

namespace {

struct ByteOrderMark {
    const char* bytes;
    int length;
    int flag;
    const char16_t* encoding;
    int unitSize;
};

// Searched in this order both when reading and when choosing the mark to write.
constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", 3, XDF_UTF8PREAMBLE, u"UTF-8", 1},
    {"\xFF\xFE", 2, XDF_UTF16LEFILE, u"UTF-16LE", 2},
    {"\xFE\xFF", 2, XDF_UTF16BEFILE, u"UTF-16BE", 2},
};
constexpr int kMarkFlags = XDF_UTF8PREAMBLE | XDF_UTF16LEFILE | XDF_UTF16BEFILE;
constexpr int kModeFlags = XDF_READFILE | XDF_WRITEFILE | XDF_APPENDFILE;
constexpr size_t kSampleLength = 1024;
constexpr int kMaxErrorText = 100;

// The check of the reading rules: lead bytes announce how many bytes of 0x80
// or more follow, and the sequence must lie within the bytes read.
bool LooksLikeUtf8(const std::string& bytes) {
    const size_t length = bytes.size();
    for (size_t at = 0; at < length; ++at) {
        const auto lead = static_cast<uint8_t>(bytes[at]);
        if (lead < 0x80)
            continue;
        if (lead >= 0xF8)
            return false;
        const size_t following = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        if (at + following >= length)
            return false;
        for (size_t i = 1; i <= following; ++i) {
            if (static_cast<uint8_t>(bytes[at + i]) < 0x80)
                return false;
        }
        at += following;
    }
    return true;
}

DWORD ErrorOfRead(HostRead read) {
    switch (read) {
    case HostRead::Missing: return ERROR_FILE_NOT_FOUND;
    case HostRead::NotAFile: return ERROR_ACCESS_DENIED;
    case HostRead::TooLarge: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ErrorFromErrno(errno);
    }
}

void SwapBytes(std::u16string& units) {
    for (char16_t& unit : units)
        unit = static_cast<char16_t>((unit >> 8) | (unit << 8));
}

}  // namespace

CString TextFile::LastErrorText() {
    CString text;
    text.Format(u"Error %u", GetLastError());
    const int cut = text.FindOneOf(u"\r\n");
    return text.Left(std::min(cut < 0 ? text.GetLength() : cut, kMaxErrorText));
}

bool TextFile::Open(const char16_t* path, int mode) {
    flags |= mode;
    m_path = path;
    m_bytes.clear();
    if (mode == XDF_WRITEFILE) {
        for (const ByteOrderMark& mark : kMarks) {
            if (flags & mark.flag) {
                m_bytes.assign(mark.bytes, static_cast<size_t>(mark.length));
                unitSize = mark.unitSize;
                encoding = mark.encoding;
                break;
            }
        }
        return true;
    }

    // Only a plain file, once links are followed: a pipe in its place would
    // keep start-up waiting, a file of hundreds of megabytes exhaust the memory.
    const HostRead read = ReadPlainHostFile(DeviceToHostPath(path), m_bytes, kMaxTextFileBytes);
    if (read != HostRead::Read) {
        SetLastError(ErrorOfRead(read));
        result = LastErrorText();
        return false;
    }
    fileByteLength = static_cast<int>(m_bytes.size());
    DetectEncoding();
    return true;
}

void TextFile::DetectEncoding() {
    flags &= ~kMarkFlags;
    unitSize = 1;
    for (const ByteOrderMark& mark : kMarks) {
        if (m_bytes.compare(0, static_cast<size_t>(mark.length), mark.bytes) == 0) {
            flags |= mark.flag;
            encoding = mark.encoding;
            unitSize = mark.unitSize;
            m_bytes.erase(0, static_cast<size_t>(mark.length));
            fileByteLength -= mark.length;
            result = encoding + u" BOM + ";
            return;
        }
    }
    const std::string sample = m_bytes.substr(0, kSampleLength);
    const std::u16string decoded = TextConverter(u"UTF-8").ToWide(sample);
    encoding = CXmlDoc::FindDeclaredEncoding(decoded.c_str(), static_cast<int>(decoded.size()));
    if (encoding.IsEmpty() && !sample.empty() && sample[0] == '<')
        encoding = u"UTF-8";
    if (!encoding.IsEmpty())
        result = encoding + u" ";
}

void TextFile::ForceEncoding(const CString& forced) {
    if (unitSize != 1 || forced.IsEmpty() || forced.CompareNoCase(encoding) == 0)
        return;
    encoding = forced;
    result += u"forced " + forced + u" ";
}

bool TextFile::ReadText(CString& text) {
    const bool hadEncoding = !encoding.IsEmpty();
    CString remarks;
    if (m_bytes.empty()) {
        text.Empty();
        remarks = u"0 length ";
    } else if (unitSize == 2) {
        std::u16string units(m_bytes.size() / 2, u'\0');
        std::copy_n(m_bytes.data(), units.size() * 2, reinterpret_cast<char*>(units.data()));
        textLength = static_cast<int>(units.size());
        remarks.AppendFormat(u"length %d ", textLength);
        const auto nulls = std::erase(units, u'\0');
        if (nulls)
            remarks.AppendFormat(u"(%d nulls removed) ", static_cast<int>(nulls));
        if (flags & XDF_UTF16BEFILE) {
            SwapBytes(units);
            remarks += u"endian swap ";
        }
        text = CString(std::move(units));
    } else {
        std::string bytes = m_bytes;
        textLength = static_cast<int>(bytes.size());
        remarks.AppendFormat(u"length %d ", textLength);
        std::erase(bytes, '\0');
        if (encoding.IsEmpty() && LooksLikeUtf8(bytes)) {
            encoding = u"UTF-8";
            remarks += u"(used UTF-8 detection) ";
        }
        text = CString(TextConverter(encoding).ToWide(bytes));
        remarks.AppendFormat(u"to %d wide chars ", text.GetLength());
    }
    if (!hadEncoding)
        result = (encoding.IsEmpty() ? CString(u"ANSI") : encoding) + u" " + result;
    result += remarks;
    return true;
}

bool TextFile::WriteText(const CString& text) {
    if (unitSize == 1 && encoding.IsEmpty()) {
        encoding = CXmlDoc::FindDeclaredEncoding(text.GetString(), text.GetLength());
        if (encoding.IsEmpty() && text.GetLength() > 0 && text[0] == u'<')
            encoding = u"UTF-8";
        result += encoding + u" ";
    }
    if (text.IsEmpty()) {
        result += u"0 length ";
        return true;
    }
    if (unitSize == 2) {
        std::u16string units = text.str();
        if (flags & XDF_UTF16BEFILE) {
            SwapBytes(units);
            result += u"endian swap ";
        }
        m_bytes.append(reinterpret_cast<const char*>(units.data()), units.size() * 2);
        textLength = static_cast<int>(units.size());
    } else {
        TextConverter converter(encoding);
        const std::string bytes = converter.FromWide(text.str());
        result.AppendFormat(u"from wide length %d ", text.GetLength());
        if (converter.CharsLost())
            result += u"(chars lost in conversion!) ";
        m_bytes += bytes;
        textLength = static_cast<int>(bytes.size());
    }
    result.AppendFormat(u"length %d ", textLength);
    return true;
}

bool TextFile::Close() {
    const bool writing = (flags & XDF_WRITEFILE) != 0;
    flags &= ~kModeFlags;
    if (!writing)
        return true;
    if (!ReplaceOwnFileContents(m_path, m_bytes.data(), m_bytes.size())) {
        result = LastErrorText();
        return false;
    }
    return true;
}
