#include "core/angles.h"

#include <cmath>

namespace orb {

double NormalizeAngle(double x) {
    constexpr double kFull = 360.0;
    if (x >= 0) {
        for (int i = 0; i < 10000; ++i) {
            if (x >= 0 && x < kFull) return x;
            x -= kFull;
        }
        return x;
    }
    // Negative or NaN.
    for (int i = 0; i < 10000; ++i) {
        x += kFull;
        // A tiny negative angle lands exactly on 360: that is a full turn, 0.
        if (x == kFull) return 0.0;
        if (x >= 0 && x < kFull) return x;
    }
    return x;
}

uint32_t CountSelected(std::span<const SurveyRecord> records) {
    uint32_t n = 0;
    for (const SurveyRecord& r : records) {
        if (r.selected == 1) ++n;
    }
    return n;
}

std::size_t IndexOfSelected(std::span<const SurveyRecord> records, std::size_t n) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].selected != 1) continue;
        if (count == n) return i;
        ++count;
    }
    return records.size();
}

double ContinuousDay(double t) {
    constexpr double kMinusHalfSecond = -5.787037037037037e-6;
    if (t > kMinusHalfSecond) return t;
    return 2.0 * std::ceil(t) - t;
}

}  // namespace orb
