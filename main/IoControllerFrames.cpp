#include "main/IoControllerFrames.h"

namespace {

// Codes start at E0; digits and key codes never reach it.
constexpr BYTE kFirstCode = 0xE0;

enum class Parse { Frame, NeedMore, Bad };

// Tries to take one frame from the start of `bytes`.
Parse TakeFrame(const std::vector<BYTE>& bytes, IoFrame& frame, size_t& used) {
    const BYTE code = bytes[0];
    if (code < kFirstCode) return Parse::Bad;
    if (code == kIoCard) {
        if (bytes.size() < 2) return Parse::NeedMore;
        const size_t digits = bytes[1];
        if (digits == 0 || digits > static_cast<size_t>(kIoMaxCardDigits)) return Parse::Bad;
        if (bytes.size() < digits + 3) return Parse::NeedMore;
        if (bytes[digits + 2] != kIoCard) return Parse::Bad;
        frame = IoFrame{code, 0, 0, std::vector<BYTE>(bytes.begin() + 2, bytes.begin() + 2 + static_cast<long>(digits))};
        used = digits + 3;
        return Parse::Frame;
    }
    if (bytes.size() < static_cast<size_t>(kIoFrameSize)) return Parse::NeedMore;
    if (bytes[3] != code) return Parse::Bad;
    frame = IoFrame{code, bytes[1], bytes[2], {}};
    used = kIoFrameSize;
    return Parse::Frame;
}

}  // namespace

std::vector<IoFrame> IoFrameReader::Feed(const BYTE* data, size_t count) {
    m_pending.insert(m_pending.end(), data, data + count);
    std::vector<IoFrame> frames;
    size_t start = 0;
    while (start < m_pending.size()) {
        const std::vector<BYTE> rest(m_pending.begin() + static_cast<long>(start), m_pending.end());
        IoFrame frame;
        size_t used = 0;
        const Parse result = TakeFrame(rest, frame, used);
        if (result == Parse::NeedMore) break;
        if (result == Parse::Bad) {
            ++start;
            continue;
        }
        frames.push_back(std::move(frame));
        start += used;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<long>(start));
    return frames;
}

void MakeIoFrame(BYTE code, BYTE a, BYTE b, BYTE out[kIoFrameSize]) {
    out[0] = code;
    out[1] = a;
    out[2] = b;
    out[3] = code;
}
