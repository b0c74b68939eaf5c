// Data of each reply the simulated devices send, laid out at the frame byte
// positions the program reads (data starts at frame byte 9). Each function
// returns the data bytes; BuildReplyFrame adds header and checksum.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/calibration.h"
#include "core/ole_date.h"
#include "devsim/scenario.h"

namespace devsim {

// 0x00, 0x02, 0x05: a one-byte acknowledgement.
std::vector<uint8_t> AckData();
// 0x04, 33 data bytes: number at 10..19, count 20..23, delay x3 at 26..31,
// interval x3 at 32..37, battery x10 at 38..39, 00 81 at 40..41.
std::vector<uint8_t> InformationData(const std::string& number, int32_t storedCount, int16_t delayMinutes,
                                     int16_t intervalSeconds, uint16_t batteryTenths);
// 0x31, 34 data bytes: packet index at 9..10, bytes index*32 .. +31 of the
// 1024-byte calibration image at 11..42 (912 calibration bytes, then zeros).
std::vector<uint8_t> CalibrationPacketData(const orb::ProbeCalibration& cal, uint16_t index);
// 0x09, float32 at 9..12.
std::vector<uint8_t> ToolFaceOffsetData(float degrees);
// 0x03 count (frame length 14): int32 at 9..12.
std::vector<uint8_t> SampleCountData(int32_t count);
// 0x03 sample (frame length 38).
std::vector<uint8_t> SampleData(int32_t index, const StoredSampleSpec& s);
// 0x19 (frame length 34): temperature x10 at 9..10, raw counts at 11..22.
std::vector<uint8_t> RealTimeRawData(int16_t temperatureTenths, const std::array<int16_t, 6>& raw);
// 0x19 ready block (frame length 90): the 80-byte AttitudeSample at 9..88.
std::vector<uint8_t> RealTimeAttitudeData(const orb::AttitudeSample& a);
// 0x0E / 0x21 of the probe (frame length 20): 06 at 10, year at 11..12,
// BCD year-2000, month, day, hour, minute, second at 13..18.
std::vector<uint8_t> ProbeClockData(const orb::DateTimeFields& t);
// 0x0E / 0x21 of the synchronizer (frame length 16): BCD at 9..14.
std::vector<uint8_t> SyncClockData(const orb::DateTimeFields& t);
// 0x13 count (frame length 18): announced at 9..12, kept at 13..16.
std::vector<uint8_t> MarkCountData(int32_t announced, int32_t kept);
// 0x13 mark (frame length 53): frame index 9..12, sequence 17..20, clock 25..31.
std::vector<uint8_t> MarkData(int32_t frameIndex, const MarkSpec& m);

}  // namespace devsim
