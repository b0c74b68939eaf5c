#include "device/frame_scanner.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "device/device_frame.h"

namespace orb {
namespace {

// FF FF FF FF FF C6 followed by one of the accepted addresses.
bool IsReplyHeader(const uint8_t* b) {
    static constexpr uint8_t kPrefix[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, DeviceFrame::kReplyMarker};
    if (std::memcmp(b, kPrefix, sizeof kPrefix) != 0) return false;
    return b[6] == 0x01 || b[6] == 0x40 || b[6] == 0x41;
}

// FF x11, E1, 00.
bool IsLongHeader(const uint8_t* b) {
    static constexpr uint8_t kHeader[13] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                            0xFF, 0xFF, 0xFF, 0xFF, 0xE1, 0x00};
    return std::memcmp(b, kHeader, sizeof kHeader) == 0;
}

// Frame length when the frame whose LEN byte is at `lenPos` is complete
// within `avail` bytes and its checksum (over checkFrom .. end-2) matches.
std::size_t CheckedLength(const uint8_t* b, std::size_t avail, std::size_t lenPos, std::size_t overhead,
                          std::size_t checkFrom) {
    if (avail <= lenPos) return 0;
    const std::size_t len = overhead + b[lenPos];
    if (avail < len) return 0;
    const uint8_t sum = XorChecksum({b + checkFrom, len - 1 - checkFrom});
    return sum == b[len - 1] ? len : 0;
}

}  // namespace

std::size_t ReceiveBuffer::Append(std::span<const uint8_t> data) {
    const std::size_t n = std::min(data.size(), FreeSpace());
    std::copy_n(data.begin(), n, bytes.begin() + static_cast<std::ptrdiff_t>(fill));
    fill += n;
    return n;
}

void ReceiveBuffer::Clear() {
    bytes.fill(0);
    fill = 0;
}

FrameScanner::FrameScanner(Dispatcher dispatcher) : dispatcher_(std::move(dispatcher)) {}

std::size_t FrameScanner::AcceptedFrameAt(std::span<const uint8_t> bytes, std::size_t p) {
    if (p >= bytes.size() || bytes[p] != 0xFF) return 0;
    const uint8_t* b = bytes.data() + p;
    const std::size_t avail = bytes.size() - p;
    if (avail >= 7 && IsReplyHeader(b)) {
        return CheckedLength(b, avail, DeviceFrame::kLenPos, DeviceFrame::kReplyOverhead, 5);
    }
    if (avail >= DeviceFrame::kLongHeaderSize && IsLongHeader(b)) {
        return CheckedLength(b, avail, DeviceFrame::kLongLenPos, DeviceFrame::kLongHeaderOverhead, 11);
    }
    return 0;
}

std::size_t FrameScanner::Scan(ReceiveBuffer& buffer) {
    if (dispatching_) return 0;
    std::size_t dispatched = 0;
    std::size_t p = 0;
    while (p < buffer.fill) {
        const std::size_t len = AcceptedFrameAt(buffer.Contents(), p);
        if (len == 0) {
            ++p;
            continue;
        }
        const std::size_t end = p + len;
        {
            // Whatever the dispatcher does, the frame is consumed afterwards
            // and nested scans are enabled again.
            struct Consume {
                ReceiveBuffer& buf;
                bool& flag;
                std::size_t end;
                ~Consume() {
                    flag = false;
                    if (buf.fill < end) return;  // the buffer was reset meanwhile
                    std::memmove(buf.bytes.data(), buf.bytes.data() + end, buf.fill - end);
                    buf.fill -= end;
                }
            } consume{buffer, dispatching_, end};
            dispatching_ = true;
            ++dispatched;
            dispatcher_(std::span<const uint8_t>(buffer.bytes.data() + p, len));
        }
        p = 0;
    }
    if (buffer.fill > ReceiveBuffer::kClearThreshold) buffer.Clear();
    return dispatched;
}

}  // namespace orb
