#include "device/device_frame.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace orb {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Frame(std::initializer_list<int> v) {
    Bytes b;
    for (int x : v) b.push_back(static_cast<uint8_t>(x));
    return b;
}

// A reply of `type` whose data bytes (frame positions 9..) are given.
Bytes Reply(uint8_t type, std::size_t dataBytes, std::function<void(Bytes&)> fill = {}) {
    Bytes frame = BuildReplyFrame(type, Bytes(dataBytes, 0));
    if (fill) fill(frame);
    return frame;
}

TEST(HexTemplate, TextCommandsBecomeTheirFrames) {
    EXPECT_EQ(HexTemplateToBytes(kSyncCommTestTemplate),
              Frame({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x47, 0x00, 0x00, 0x46}));
    EXPECT_EQ(HexTemplateToBytes(kSyncReadMarksTemplate),
              Frame({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x47, 0x03, 0x00, 0x45}));
    EXPECT_EQ(HexTemplateToBytes(kSyncClearTemplate),
              Frame({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x47, 0x02, 0x00, 0x44}));
    // The leading space of this template is skipped.
    EXPECT_EQ(HexTemplateToBytes(kProbeToolFaceOffsetTemplate),
              Frame({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x46, 0x09, 0x00, 0x4E}));
    // Every template carries its own correct checksum.
    for (auto t :
         {kSyncCommTestTemplate, kSyncReadMarksTemplate, kSyncClearTemplate, kProbeToolFaceOffsetTemplate}) {
        const Bytes b = HexTemplateToBytes(t);
        ASSERT_EQ(b.size(), 11u);
        EXPECT_EQ(XorChecksum(std::span(b).subspan(6, 4)), b[10]) << t;
    }
}

TEST(HexTemplate, OddInputs) {
    EXPECT_EQ(HexTemplateToBytes("0A b"), Frame({0x0A}));  // lone trailing digit dropped
    EXPECT_EQ(HexTemplateToBytes("ff0a"), Frame({0xFF, 0x0A}));
    EXPECT_EQ(HexTemplateToBytes(""), Bytes{});
    EXPECT_EQ(HexTemplateToBytes("   "), Bytes{});
    // A character that is no hexadecimal digit ends the conversion.
    EXPECT_EQ(HexTemplateToBytes("01 G2 03"), Frame({0x01}));
}

TEST(Bcd, PackedDecimal) {
    EXPECT_EQ(ToBcd(7), 0x07u);
    EXPECT_EQ(ToBcd(59), 0x59u);
    EXPECT_EQ(ToBcd(2025), 0x2025u);
    EXPECT_EQ(ToBcd(2025) & 0xFF, 0x25u);
    EXPECT_EQ(ToBcd(0), 0u);
    EXPECT_EQ(ToBcd(-3), 0u);
    EXPECT_EQ(FromBcd(0x59), 59);
    EXPECT_EQ(FromBcd(0x00), 0);
    EXPECT_EQ(FromBcd(0xA5), 105);  // not validated
    for (int n = 0; n < 100; ++n) EXPECT_EQ(FromBcd(static_cast<uint8_t>(ToBcd(n))), n);
}

TEST(Checksum, XorOfAllBytes) {
    EXPECT_EQ(XorChecksum(Frame({0x5A})), 0x5A);
    EXPECT_EQ(XorChecksum(Frame({0x01, 0x47, 0x00, 0x00})), 0x46);
    EXPECT_EQ(XorChecksum(Bytes{}), 0);
}

TEST(CommandBuilders, EveryCommandOfTheTable) {
    struct Case {
        Bytes frame;
        uint8_t group, code, n;
    };
    const DateTimeFields t{2025, 6, 7, 10, 15, 30};
    const std::vector<Case> cases = {
        {ProbeCommTestFrame(), 0x46, 0x00, 0},       {ProbeClearFrame(), 0x46, 0x02, 0},
        {ProbeSendStoredFrame(), 0x46, 0x03, 0},     {ProbeInformationFrame(), 0x46, 0x04, 0},
        {ProbeWorkModeFrame(5, 10), 0x46, 0x05, 32}, {ProbeToolFaceOffsetFrame(), 0x46, 0x09, 0},
        {ProbeSetClockFrame(t), 0x46, 0x0E, 9},      {ProbeRealTimeSampleFrame(), 0x46, 0x19, 0},
        {ProbeReadClockFrame(), 0x46, 0x21, 0},      {ProbeReadCalibrationFrame(), 0x46, 0x31, 0},
        {SyncCommTestFrame(), 0x47, 0x00, 0},        {SyncClearFrame(), 0x47, 0x02, 0},
        {SyncSendMarksFrame(), 0x47, 0x03, 0},       {SyncSetClockFrame(t), 0x47, 0x0E, 6},
        {SyncReadClockFrame(), 0x47, 0x21, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(BytesToHex(c.frame));
        ASSERT_EQ(c.frame.size(), 11u + c.n);
        EXPECT_EQ(Bytes(c.frame.begin(), c.frame.begin() + 6), Bytes(6, 0xFF));
        EXPECT_EQ(c.frame[6], 0x01);
        EXPECT_EQ(c.frame[7], c.group);
        EXPECT_EQ(c.frame[8], c.code);
        EXPECT_EQ(c.frame[9], c.n);
        EXPECT_EQ(XorChecksum(std::span(c.frame).subspan(6, 4u + c.n)), c.frame.back());
    }
    EXPECT_EQ(ProbeInformationFrame(),
              Frame({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x46, 0x04, 0x00, 0x43}));
    EXPECT_EQ(SyncReadClockFrame(),
              Frame({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x47, 0x21, 0x00, 0x67}));
}

TEST(CommandBuilders, WorkModePayload) {
    const Bytes f = ProbeWorkModeFrame(5, 10);
    ASSERT_EQ(f.size(), 43u);
    EXPECT_EQ(Bytes(f.begin() + 10, f.begin() + 26), Frame({0x4A, 0x24, 0x4A, 0x24, 0x4A, 0x24, 0x8A, 0x02,
                                                            0x8A, 0x02, 0x8A, 0x02, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Bytes(f.begin() + 26, f.begin() + 38),
              Frame({0x05, 0x00, 0x05, 0x00, 0x05, 0x00, 0x0A, 0x00, 0x0A, 0x00, 0x0A, 0x00}));
    EXPECT_EQ(Bytes(f.begin() + 38, f.begin() + 42), Frame({0xD8, 0x07, 0x00, 0x81}));
    // Only the low 16 bits of the values travel.
    const Bytes g = ProbeWorkModeFrame(0x10003, 59);
    EXPECT_EQ(g[26], 0x03);
    EXPECT_EQ(g[27], 0x00);
    EXPECT_EQ(g[32], 59);
}

TEST(CommandBuilders, ClockSetPayloads) {
    const DateTimeFields t{2025, 6, 7, 10, 15, 30};
    const Bytes p = ProbeSetClockFrame(t);
    ASSERT_EQ(p.size(), 20u);
    EXPECT_EQ(Bytes(p.begin() + 10, p.begin() + 19),
              Frame({0x06, 0xE9, 0x07, 0x25, 0x06, 0x07, 0x10, 0x15, 0x30}));
    const Bytes s = SyncSetClockFrame(t);
    ASSERT_EQ(s.size(), 17u);
    EXPECT_EQ(Bytes(s.begin() + 10, s.begin() + 16), Frame({0x25, 0x06, 0x07, 0x10, 0x15, 0x30}));
    EXPECT_EQ(s[16], 0x01 ^ 0x47 ^ 0x0E ^ 0x06 ^ 0x25 ^ 0x06 ^ 0x07 ^ 0x10 ^ 0x15 ^ 0x30);
}

TEST(ReplyFrames, LayoutOfBothHeaders) {
    const Bytes r = BuildReplyFrame(0x09, Frame({1, 2, 3, 4}), 0x41);
    EXPECT_EQ(r, Frame({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xC6, 0x41, 0x09, 0x04, 1, 2, 3, 4,
                        0xC6 ^ 0x41 ^ 0x09 ^ 0x04 ^ 1 ^ 2 ^ 3 ^ 4}));
    const Bytes l = BuildLongHeaderFrame(0x07, Frame({0xAA}));
    ASSERT_EQ(l.size(), 17u);
    EXPECT_EQ(l[11], 0xE1);
    EXPECT_EQ(l[14], 1);
    EXPECT_EQ(l[16], 0xE1 ^ 0x00 ^ 0x07 ^ 0x01 ^ 0xAA);
    EXPECT_EQ(*ReplyTypeOf(l), 0xFF);  // the long header carries no type
}

TEST(ReplyReaders, LittleEndianAccessStaysInsideTheFrame) {
    const Bytes f = Frame({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(*ReadLE<uint16_t>(f, 4), 0x0605);
    EXPECT_EQ(*ReadLE<int32_t>(f, 0), 0x04030201);
    EXPECT_FALSE(ReadLE<uint16_t>(f, 5));
    EXPECT_FALSE(ReadLE<uint8_t>(f, 6));
    EXPECT_FALSE(ReadLE<double>(f, 0));
    EXPECT_FALSE(ReadLE<uint32_t>(f, SIZE_MAX - 1));  // no wrap-around
    EXPECT_EQ(*ReadLE<int16_t>(Frame({0xFE, 0xFF}), 0), -2);
    EXPECT_EQ(*ReadLE<float>(Frame({0x00, 0x00, 0x20, 0x41}), 0), 10.0f);
}

TEST(ReplyReaders, Information) {
    Bytes f = Reply(0x04, 33, [](Bytes& b) {
        const char* number = "TALOE12345";
        for (int i = 0; i < 10; ++i) b[10 + i] = static_cast<uint8_t>(number[i]);
        StoreLE<int32_t>(b, 20, 812);
        StoreLE<int16_t>(b, 26, 5);
        StoreLE<int16_t>(b, 32, 10);
        StoreLE<uint16_t>(b, 38, 84);
    });
    const auto info = ReadProbeInformation(f);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->probeNumber, "TALOE12345");  // exactly 10 characters, no terminator
    EXPECT_EQ(info->storedCount, 812);
    EXPECT_EQ(info->delayMinutes, 5);
    EXPECT_EQ(info->intervalSeconds, 10);
    EXPECT_EQ(info->batteryTenths, 84);
    f[13] = 0;
    EXPECT_EQ(ReadProbeInformation(f)->probeNumber, "TAL");
    EXPECT_TRUE(ReadProbeInformation(Reply(0x04, 31)));
    EXPECT_FALSE(ReadProbeInformation(Reply(0x04, 30)));
    EXPECT_FALSE(ReadProbeInformation(Reply(0x05, 33)));
}

TEST(ReplyReaders, SampleCountAndSample) {
    const Bytes count = Reply(0x03, 4, [](Bytes& b) { StoreLE<int32_t>(b, 9, 421); });
    EXPECT_EQ(*ReadSampleCount(count), 421);
    EXPECT_FALSE(ReadStoredSample(count));  // a length-14 frame is always a count

    const Bytes s = Reply(0x03, 28, [](Bytes& b) {
        StoreLE<int32_t>(b, 9, 7);
        StoreLE<int16_t>(b, 13, -123);
        for (int k = 0; k < 6; ++k) StoreLE<int16_t>(b, 15 + 2 * k, static_cast<int16_t>(100 * k - 250));
        const uint8_t time[] = {0x05, 0x04, 0x03, 0x02, 0x00, 0x01, 0x25};
        std::copy(std::begin(time), std::end(time), b.begin() + 27);
        b[35] = 0x76;
        b[36] = 0x00;
    });
    ASSERT_EQ(s.size(), 38u);
    const auto sample = ReadStoredSample(s);
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->index, 7);
    EXPECT_EQ(sample->temperatureTenths, -123);
    EXPECT_EQ(sample->raw[0], -250);
    EXPECT_EQ(sample->raw[5], 250);
    EXPECT_EQ(sample->batteryTenths, 118);
    const DateTimeFields t = DecodeBcdClock(sample->time);
    EXPECT_EQ(t.year, 2025);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 2);
    EXPECT_EQ(t.hour, 3);
    EXPECT_EQ(t.minute, 4);
    EXPECT_EQ(t.second, 5);
    EXPECT_FALSE(ReadSampleCount(s));
    EXPECT_FALSE(ReadStoredSample(Reply(0x03, 27)));
}

TEST(ReplyReaders, CalibrationPacketAndToolFace) {
    const Bytes p = Reply(0x31, 34, [](Bytes& b) {
        StoreLE<uint16_t>(b, 9, 31);
        for (int i = 0; i < 32; ++i) b[11 + i] = static_cast<uint8_t>(i + 1);
    });
    const auto packet = ReadCalibrationPacket(p);
    ASSERT_TRUE(packet);
    EXPECT_EQ(packet->index, 31);
    EXPECT_EQ(packet->data.front(), 1);
    EXPECT_EQ(packet->data.back(), 32);
    EXPECT_FALSE(ReadCalibrationPacket(Reply(0x31, 33)));

    const Bytes o = Reply(0x09, 4, [](Bytes& b) { StoreLE<float>(b, 9, 12.5f); });
    EXPECT_EQ(*ReadToolFaceOffset(o), 12.5f);
    EXPECT_FALSE(ReadToolFaceOffset(Reply(0x09, 3)));
}

TEST(ReplyReaders, ClockInBothForms) {
    const Bytes shortForm = BuildReplyFrame(0x21, Frame({0x25, 0x01, 0x02, 0x03, 0x04, 0x05}));
    ASSERT_EQ(shortForm.size(), 16u);
    const DateTimeFields a = DecodeBcdClock(*ReadClockReply(shortForm));
    EXPECT_EQ(a.year, 2025);
    EXPECT_EQ(a.day, 2);
    EXPECT_EQ(a.second, 5);

    const Bytes longForm = Reply(0x0E, 10, [](Bytes& b) {
        const uint8_t c[] = {0x24, 0x12, 0x31, 0x23, 0x59, 0x58};
        std::copy(std::begin(c), std::end(c), b.begin() + 13);
    });
    const DateTimeFields l = DecodeBcdClock(*ReadClockReply(longForm));
    EXPECT_EQ(l.year, 2024);
    EXPECT_EQ(l.month, 12);
    EXPECT_EQ(l.hour, 23);
    EXPECT_EQ(l.second, 58);
    EXPECT_FALSE(ReadClockReply(Reply(0x21, 9)));  // neither form
    EXPECT_FALSE(ReadClockReply(Reply(0x22, 6)));
}

TEST(ReplyReaders, RealTimeInBothForms) {
    const Bytes raw = Reply(0x19, 24, [](Bytes& b) {
        StoreLE<int16_t>(b, 9, 215);
        StoreLE<int16_t>(b, 15, 4500);
        StoreLE<int16_t>(b, 21, -77);
    });
    ASSERT_EQ(raw.size(), 34u);
    const auto r = ReadRealTimeSample(raw);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->ready);
    EXPECT_EQ(r->temperatureTenths, 215);
    EXPECT_EQ(r->raw[2], 4500);
    EXPECT_EQ(r->raw[5], -77);

    const Bytes ready = Reply(0x19, 80, [](Bytes& b) {
        for (int k = 0; k < 20; ++k) StoreLE<float>(b, 9 + 4 * k, static_cast<float>(k) + 0.5f);
    });
    const auto a = ReadRealTimeSample(ready);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->ready);
    EXPECT_EQ(a->attitude.v[0], 0.5f);
    EXPECT_EQ(a->attitude.v[19], 19.5f);
    EXPECT_FALSE(ReadRealTimeSample(Reply(0x19, 79)));
}

TEST(ReplyReaders, MarkCountAndMark) {
    const Bytes c = Reply(0x13, 8, [](Bytes& b) {
        StoreLE<int32_t>(b, 9, 5);
        StoreLE<int32_t>(b, 13, 3);
    });
    const auto count = ReadMarkCount(c);
    ASSERT_TRUE(count);
    EXPECT_EQ(count->expected, 5);
    EXPECT_EQ(count->kept, 3);
    EXPECT_FALSE(ReadSyncMark(c));

    const Bytes m = Reply(0x13, 43, [](Bytes& b) {
        StoreLE<int32_t>(b, 9, 4);
        StoreLE<int32_t>(b, 17, 2);
        const uint8_t time[] = {0x30, 0x15, 0x10, 0x07, 0x03, 0x06, 0x25};
        std::copy(std::begin(time), std::end(time), b.begin() + 25);
    });
    ASSERT_EQ(m.size(), 53u);
    const auto mark = ReadSyncMark(m);
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->frameIndex, 4);
    EXPECT_EQ(mark->sequence, 2);
    const DateTimeFields t = DecodeBcdClock(mark->time);
    EXPECT_EQ(t.year, 2025);
    EXPECT_EQ(t.month, 6);
    EXPECT_EQ(t.day, 7);
    EXPECT_EQ(t.hour, 10);
    EXPECT_EQ(t.minute, 15);
    EXPECT_EQ(t.second, 30);
    EXPECT_FALSE(ReadSyncMark(Reply(0x13, 44)));
    EXPECT_FALSE(ReadMarkCount(Reply(0x13, 9)));
}

TEST(ReplyReaders, NeverReadPastTheFrameWhateverLenSays) {
    // Truncated frames whose LEN byte still claims a full payload.
    const std::vector<Bytes> full = {
        Reply(0x04, 33), Reply(0x31, 34), Reply(0x09, 4),  Reply(0x03, 28),
        Reply(0x19, 80), Reply(0x0E, 10), Reply(0x13, 43), Reply(0x13, 8),
    };
    for (const Bytes& f : full) {
        for (std::size_t cut = 0; cut < f.size(); ++cut) {
            const std::span<const uint8_t> t(f.data(), cut);
            // Under the sanitizers any stray read fails the run.
            ReadProbeInformation(t);
            ReadCalibrationPacket(t);
            ReadToolFaceOffset(t);
            ReadSampleCount(t);
            ReadStoredSample(t);
            ReadRealTimeSample(t);
            ReadClockReply(t);
            ReadMarkCount(t);
            ReadSyncMark(t);
        }
    }
    Bytes lying = Reply(0x09, 1);
    lying[8] = 200;
    EXPECT_FALSE(ReadToolFaceOffset(lying));
}

}  // namespace
}  // namespace orb
