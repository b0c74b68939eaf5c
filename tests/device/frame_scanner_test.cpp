#include "device/frame_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "device/device_frame.h"

namespace orb {
namespace {

using Bytes = std::vector<uint8_t>;

// Collects every dispatched frame.
struct Recorder {
    std::vector<Bytes> frames;
    FrameScanner scanner{[this](std::span<const uint8_t> f) { frames.emplace_back(f.begin(), f.end()); }};
};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Sample(int32_t index) {
    Bytes data(28, 0);
    StoreLE<int32_t>(data, 0, index);
    StoreLE<int16_t>(data, 6, static_cast<int16_t>(4500 - index));
    return BuildReplyFrame(0x03, data);
}

TEST(FrameScanner, GarbageInFrontIsDroppedWithTheFrame) {
    Recorder r;
    ReceiveBuffer buf;
    const Bytes frame = Sample(1);
    buf.Append(Concat({{0x12, 0xFF, 0xFF, 0xC6, 0x01, 0x00}, frame}));
    EXPECT_EQ(r.scanner.Scan(buf), 1u);
    ASSERT_EQ(r.frames.size(), 1u);
    EXPECT_EQ(r.frames[0], frame);
    EXPECT_EQ(buf.fill, 0u);
}

TEST(FrameScanner, TwoRepliesInOneReadBothDispatchedInOrder) {
    Recorder r;
    ReceiveBuffer buf;
    const Bytes tail = {0xFF, 0xFF, 0xFF};  // start of the next reply
    buf.Append(Concat({Sample(1), Sample(2), tail}));
    EXPECT_EQ(r.scanner.Scan(buf), 2u);
    ASSERT_EQ(r.frames.size(), 2u);
    EXPECT_EQ(r.frames[0], Sample(1));
    EXPECT_EQ(r.frames[1], Sample(2));
    EXPECT_EQ(Bytes(buf.Contents().begin(), buf.Contents().end()), tail);
}

TEST(FrameScanner, BadChecksumStaysUntilAGoodFrameDropsIt) {
    Recorder r;
    ReceiveBuffer buf;
    Bytes bad = Sample(1);
    bad.back() ^= 0x01;
    buf.Append(bad);
    EXPECT_EQ(r.scanner.Scan(buf), 0u);
    EXPECT_EQ(buf.fill, bad.size());  // not dispatched, not removed
    buf.Append(Sample(2));
    EXPECT_EQ(r.scanner.Scan(buf), 1u);
    ASSERT_EQ(r.frames.size(), 1u);
    EXPECT_EQ(r.frames[0], Sample(2));
    EXPECT_EQ(buf.fill, 0u);
}

TEST(FrameScanner, IncompleteFrameWaitsForTheRest) {
    Recorder r;
    ReceiveBuffer buf;
    const Bytes f = Sample(3);
    for (std::size_t cut : {std::size_t{5}, std::size_t{8}, std::size_t{9}, f.size() - 1}) {
        buf.Clear();
        buf.Append(std::span(f).first(cut));
        EXPECT_EQ(r.scanner.Scan(buf), 0u) << cut;
        EXPECT_EQ(buf.fill, cut);
        buf.Append(std::span(f).subspan(cut));
        EXPECT_EQ(r.scanner.Scan(buf), 1u) << cut;
        EXPECT_EQ(buf.fill, 0u);
    }
}

TEST(FrameScanner, AcceptedHeadersAndAddresses) {
    Recorder r;
    ReceiveBuffer buf;
    const Bytes data = {1, 2, 3};
    const Bytes a01 = BuildReplyFrame(0x00, data, 0x01);
    const Bytes a40 = BuildReplyFrame(0x00, data, 0x40);
    const Bytes a41 = BuildReplyFrame(0x00, data, 0x41);
    const Bytes a42 = BuildReplyFrame(0x00, data, 0x42);  // not an accepted address
    const Bytes longHeader = BuildLongHeaderFrame(0x05, data);
    buf.Append(Concat({a42, a40, longHeader, a41, a01}));
    EXPECT_EQ(r.scanner.Scan(buf), 4u);
    ASSERT_EQ(r.frames.size(), 4u);
    EXPECT_EQ(r.frames[0], a40);
    EXPECT_EQ(r.frames[1], longHeader);
    EXPECT_EQ(r.frames[2], a41);
    EXPECT_EQ(r.frames[3], a01);
    EXPECT_EQ(buf.fill, 0u);
}

TEST(FrameScanner, OverfullBufferWithoutFrameIsCleared) {
    Recorder r;
    ReceiveBuffer buf;
    buf.Append(Bytes(1000, 0x55));
    r.scanner.Scan(buf);
    EXPECT_EQ(buf.fill, 1000u);  // exactly 1000 may stay
    buf.Append(Bytes{0x55});
    r.scanner.Scan(buf);
    EXPECT_EQ(buf.fill, 0u);
    EXPECT_TRUE(std::all_of(buf.bytes.begin(), buf.bytes.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(r.frames.empty());
}

TEST(FrameScanner, FrameBehindAFalseHeaderIsStillFound) {
    // A header that claims 255 data bytes waits forever; the real reply
    // behind it is dispatched and the false header dropped with it.
    Recorder r;
    ReceiveBuffer buf;
    buf.Append(Concat({{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xC6, 0x01, 0x03, 0xFF, 0x00}, Sample(9)}));
    EXPECT_EQ(r.scanner.Scan(buf), 1u);
    EXPECT_EQ(r.frames.at(0), Sample(9));
    EXPECT_EQ(buf.fill, 0u);
}

TEST(FrameScanner, DispatcherSeesTheFrameInPlaceBeforeTheBufferMoves) {
    ReceiveBuffer buf;
    const Bytes frame = Sample(4);
    const Bytes after = {0xAB, 0xCD};
    buf.Append(Concat({{0x00, 0x11}, frame, after}));
    int calls = 0;
    FrameScanner scanner([&](std::span<const uint8_t> f) {
        ++calls;
        EXPECT_EQ(f.data(), buf.bytes.data() + 2);
        EXPECT_EQ(Bytes(f.begin(), f.end()), frame);
    });
    scanner.Scan(buf);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Bytes(buf.Contents().begin(), buf.Contents().end()), after);
}

TEST(FrameScanner, ReadsInsideADispatchKeepOrderAndBytes) {
    // A dispatcher that runs a nested event loop may read the port and scan
    // again; nothing may be corrupted, lost or dispatched twice.
    ReceiveBuffer buf;
    std::vector<int32_t> order;
    const Bytes late = Concat({Sample(2), Sample(3)});
    FrameScanner* self = nullptr;
    FrameScanner scanner([&](std::span<const uint8_t> f) {
        order.push_back(ReadStoredSample(f)->index);
        if (order.size() == 1) {
            buf.Append(late);
            EXPECT_EQ(self->Scan(buf), 0u);
        }
    });
    self = &scanner;
    buf.Append(Concat({Sample(0), Sample(1)}));
    EXPECT_EQ(scanner.Scan(buf), 4u);
    EXPECT_EQ(order, (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(buf.fill, 0u);
}

TEST(FrameScanner, BufferResetInsideADispatchIsHonoured) {
    ReceiveBuffer buf;
    int calls = 0;
    FrameScanner scanner([&](std::span<const uint8_t>) {
        ++calls;
        buf.Clear();
    });
    buf.Append(Concat({Sample(0), Sample(1)}));
    EXPECT_EQ(scanner.Scan(buf), 1u);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(buf.fill, 0u);
}

// A stream of replies of every kind the devices send, random addresses and
// lengths, with harmless bytes (no 0xFF) between some of them.
Bytes RandomStream(std::mt19937& rng, std::vector<Bytes>& frames) {
    Bytes stream;
    const uint8_t types[] = {0x00, 0x02, 0x03, 0x04, 0x05, 0x09, 0x0E, 0x13, 0x19, 0x21, 0x31};
    const uint8_t addresses[] = {0x01, 0x40, 0x41};
    const int n = std::uniform_int_distribution<int>(1, 60)(rng);
    for (int i = 0; i < n; ++i) {
        Bytes data(std::uniform_int_distribution<int>(0, 90)(rng));
        for (auto& b : data) b = static_cast<uint8_t>(rng());
        Bytes f = (rng() % 10 == 0) ? BuildLongHeaderFrame(static_cast<uint8_t>(rng()), data)
                                    : BuildReplyFrame(types[rng() % 11], data, addresses[rng() % 3]);
        if (rng() % 4 == 0) {
            const int junk = std::uniform_int_distribution<int>(1, 12)(rng);
            for (int j = 0; j < junk; ++j) stream.push_back(static_cast<uint8_t>(rng() % 0xFF));
        }
        stream.insert(stream.end(), f.begin(), f.end());
        frames.push_back(std::move(f));
    }
    return stream;
}

TEST(FrameScanner, AnySplitIntoReadsDispatchesTheSameFrames) {
    std::mt19937 rng(20250607);
    for (int round = 0; round < 400; ++round) {
        std::vector<Bytes> expected;
        const Bytes stream = RandomStream(rng, expected);
        Recorder r;
        ReceiveBuffer buf;
        std::size_t pos = 0;
        while (pos < stream.size()) {
            // Reads as the port delivers them: at most 64 bytes and the free space.
            const std::size_t want = std::uniform_int_distribution<std::size_t>(1, 64)(rng);
            const std::size_t n = std::min({want, stream.size() - pos, buf.FreeSpace()});
            ASSERT_GT(n, 0u);
            buf.Append(std::span(stream).subspan(pos, n));
            pos += n;
            r.scanner.Scan(buf);
        }
        ASSERT_EQ(r.frames, expected) << "round " << round;
        // Only harmless bytes can remain.
        EXPECT_TRUE(
            std::none_of(buf.Contents().begin(), buf.Contents().end(), [](uint8_t b) { return b == 0xFF; }));
    }
}

}  // namespace
}  // namespace orb
