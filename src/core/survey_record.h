// Survey point and synchronizer mark records. Their in-memory layout is the
// byte layout of the survey file, so they are packed to 4 bytes and every
// offset is checked at compile time.
#pragma once

#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <type_traits>

static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must be evaluated in float (SSE), not widened");
static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE-754 float and double required");

namespace orb {

#pragma pack(push, 4)
struct SurveyRecord {
    int32_t syncMatched = 0;  // 1 when chosen by a synchronizer mark
    int32_t selected = 0;     // 1 = selected station; only 1 counts
    float inclination = 0;
    float azimuth = 0;
    float temperature = 0;
    float gravityToolFace = 0;
    float magneticToolFace = 0;
    float dip = 0;
    float totalGravity = 0;
    float totalMagnetic = 0;
    float gx = 0;
    float gy = 0;
    float gz = 0;
    float mx = 0;
    float my = 0;
    float mz = 0;
    float depth = 0;
    double sampleTime = 0;         // OLE automation date
    int32_t sampleTimeStatus = 0;  // 0 valid, 1 invalid, 2 null
    float batteryVoltage = 0;
    int32_t reserved[6] = {0, 0, 0, 0, 0, 0};
};

struct SyncRecord {
    int32_t sequence = 0;
    int32_t valid = 0;
    double markTime = 0;  // OLE automation date
    int32_t markTimeStatus = 0;
};
#pragma pack(pop)

static_assert(sizeof(SurveyRecord) == 108);
static_assert(std::is_trivially_copyable_v<SurveyRecord>);
static_assert(std::is_standard_layout_v<SurveyRecord>);
static_assert(offsetof(SurveyRecord, syncMatched) == 0);
static_assert(offsetof(SurveyRecord, selected) == 4);
static_assert(offsetof(SurveyRecord, inclination) == 8);
static_assert(offsetof(SurveyRecord, azimuth) == 12);
static_assert(offsetof(SurveyRecord, temperature) == 16);
static_assert(offsetof(SurveyRecord, gravityToolFace) == 20);
static_assert(offsetof(SurveyRecord, magneticToolFace) == 24);
static_assert(offsetof(SurveyRecord, dip) == 28);
static_assert(offsetof(SurveyRecord, totalGravity) == 32);
static_assert(offsetof(SurveyRecord, totalMagnetic) == 36);
static_assert(offsetof(SurveyRecord, gx) == 40);
static_assert(offsetof(SurveyRecord, gy) == 44);
static_assert(offsetof(SurveyRecord, gz) == 48);
static_assert(offsetof(SurveyRecord, mx) == 52);
static_assert(offsetof(SurveyRecord, my) == 56);
static_assert(offsetof(SurveyRecord, mz) == 60);
static_assert(offsetof(SurveyRecord, depth) == 64);
static_assert(offsetof(SurveyRecord, sampleTime) == 68);
static_assert(offsetof(SurveyRecord, sampleTimeStatus) == 76);
static_assert(offsetof(SurveyRecord, batteryVoltage) == 80);
static_assert(offsetof(SurveyRecord, reserved) == 84);

static_assert(sizeof(SyncRecord) == 20);
static_assert(std::is_trivially_copyable_v<SyncRecord>);
static_assert(offsetof(SyncRecord, sequence) == 0);
static_assert(offsetof(SyncRecord, valid) == 4);
static_assert(offsetof(SyncRecord, markTime) == 8);
static_assert(offsetof(SyncRecord, markTimeStatus) == 16);

// Date-time status words.
inline constexpr int32_t kDateValid = 0;
inline constexpr int32_t kDateInvalid = 1;
inline constexpr int32_t kDateNull = 2;

}  // namespace orb
