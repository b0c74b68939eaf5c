// Well information typed in by the operator, and the number parsing shared by
// every numeric dialog field.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/ui_text.h"

namespace orb {

struct WellInfo {
    std::u16string teamNumber;
    std::u16string wellNumber;
    float magneticDeclination = 0.0f;  // degrees; lives only for the run of the program
};

inline constexpr float kMinDeclination = -360.0f;
inline constexpr float kMaxDeclination = 360.0f;

// Shown when a numeric field holds something that is not a number.
inline constexpr const char* kNotANumberMessage = ORB_TEXT("core", "请输入一个数字。");
// Shown (caption "错误") when the declination is outside its range.
inline constexpr const char* kDeclinationRangeMessage = ORB_TEXT("core", "请输入一个-360.0到360.0之间的数据");
inline constexpr const char* kErrorCaption = ORB_TEXT("core", "错误");

// True for −360.0 ≤ v ≤ 360.0; NaN is outside.
bool DeclinationInRange(float v);

// Parses a dialog field as a decimal number whatever the process locale:
// blanks (space, tab) around it are accepted, anything else besides the
// number is refused, as are empty texts, infinities and NaN.
std::optional<double> ParseDialogNumber(std::string_view text);
std::optional<double> ParseDialogNumber(std::u16string_view text);

// The same for a single-precision field: also refuses values that do not
// fit in a float.
std::optional<float> ParseDialogFloat(std::string_view text);
std::optional<float> ParseDialogFloat(std::u16string_view text);

enum class DeclinationInput { kAccepted, kNotANumber, kOutOfRange };

// The declination field of the well-information dialog: on kAccepted `value`
// holds the new declination; on kOutOfRange the dialog resets the held value
// to 0.0 and shows kDeclinationRangeMessage; on kNotANumber kNotANumberMessage.
DeclinationInput ParseDeclination(std::u16string_view text, float& value);

}  // namespace orb
