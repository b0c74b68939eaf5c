// The receive buffer and the scanner that cuts complete, correct reply frames
// out of it. Pure byte work: the serial port appends, the scanner dispatches.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace orb {

// 1024 bytes plus a fill count. Bytes are appended at the fill count; the
// scanner removes consumed frames (and whatever stood in front of them) by
// moving the remaining bytes to the start.
struct ReceiveBuffer {
    static constexpr std::size_t kCapacity = 1024;
    // More unconsumed bytes than this after a pass clear the whole buffer.
    static constexpr std::size_t kClearThreshold = 1000;

    std::array<uint8_t, kCapacity> bytes{};
    std::size_t fill = 0;

    std::size_t FreeSpace() const { return kCapacity - fill; }
    // Where the next read may store its bytes.
    std::span<uint8_t> FreeArea() { return {bytes.data() + fill, FreeSpace()}; }
    std::span<const uint8_t> Contents() const { return {bytes.data(), fill}; }
    // Appends as many bytes as fit; returns how many were stored.
    std::size_t Append(std::span<const uint8_t> data);
    // All bytes zero, fill count 0.
    void Clear();
};

// One pass over a ReceiveBuffer, position p from 0 while p < fill:
// headers tested in order FF FF FF FF FF C6 01 / FF x11 E1 00 /
// FF FF FF FF FF C6 40 / FF FF FF FF FF C6 41; an incomplete frame waits for
// more bytes, a frame with a wrong checksum stays where it is, an accepted
// frame is handed to the dispatcher and then removed together with every
// byte in front of it, and the pass restarts at 0. After the pass a buffer
// holding more than 1000 bytes is cleared.
class FrameScanner {
public:
    // Called with the accepted frame, still in place in the buffer; the
    // buffer moves only after the dispatcher returns.
    using Dispatcher = std::function<void(std::span<const uint8_t> frame)>;

    explicit FrameScanner(Dispatcher dispatcher);

    // Runs one pass and returns the number of frames dispatched. A dispatcher
    // may append to the buffer (a nested event loop reading the port): such
    // bytes land behind the frame, and a Scan nested inside a dispatch
    // returns 0 at once, leaving them to the outer pass, which restarts at 0
    // after every frame and so dispatches them in order.
    std::size_t Scan(ReceiveBuffer& buffer);

    // Length of the complete reply frame with a correct checksum that starts
    // at `p`, or 0 when there is none (no header, incomplete or bad checksum).
    static std::size_t AcceptedFrameAt(std::span<const uint8_t> bytes, std::size_t p);

private:
    Dispatcher dispatcher_;
    bool dispatching_ = false;
};

}  // namespace orb
