// The attitude computation mirrors the probe's arithmetic step by step: which
// values are double and which are rounded to float, and in which order sums
// are formed, decide the last bit of every stored angle. Do not simplify.
#include <cmath>

#include "core/angles.h"
#include "core/calibration.h"

namespace orb {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kCrossAxisThreshold = 0.7071068;

using Index = AttitudeSample::Index;

// The library functions take double arguments; the float overloads of
// std::asin and friends would compute a different last bit.
double D(float f) {
    return static_cast<double>(f);
}

// T^1..T^6 with the general power function; powers[0] is unused.
struct TemperaturePowers {
    double t[7];
};

TemperaturePowers PowersOf(float temperature) {
    TemperaturePowers p;
    const double t = temperature;
    p.t[0] = 1.0;
    for (int k = 1; k <= 6; ++k) p.t[k] = std::pow(t, static_cast<double>(k));
    return p;
}

// Coefficients highest power first, summed from the linear term upwards.
double Polynomial(const double* c, const TemperaturePowers& p) {
    double v = c[5] * p.t[1] + c[6];
    v += c[4] * p.t[2];
    v += c[3] * p.t[3];
    v += c[2] * p.t[4];
    v += c[1] * p.t[5];
    v += c[0] * p.t[6];
    return v;
}

double Normalised(const ProbeCalibration& cal, int channel, float raw, const TemperaturePowers& p) {
    const double upper = Polynomial(&cal.values[ProbeCalibration::UpperPoly(channel)], p);
    const double lower = Polynomial(&cal.values[ProbeCalibration::LowerPoly(channel)], p);
    const double r = raw;
    return (2.0 * r - (upper + lower)) / (upper - lower);
}

// One sensor: out[i] = (M[i1]*n1 + M[i0]*n0) + M[i2]*n2 + offset[i], rounded to float.
void ApplyMatrix(const double* m, const double* offset, const double n[3], float* out) {
    for (int row = 0; row < 3; ++row) {
        const double* r = m + 3 * row;
        out[row] = static_cast<float>((r[1] * n[1] + r[0] * n[0]) + r[2] * n[2] + offset[row]);
    }
}

float ToDegrees(float radians) {
    return static_cast<float>(NormalizeAngle(radians * 180.0 / kPi));
}

float InclinationRadians(float gx, float gy, float gz) {
    double s;
    if (D(std::fabs(gz)) < kCrossAxisThreshold) {
        s = std::asin(D(gz));
    } else {
        // Cross-axis branch: assumes a unit gravity vector.
        float q = 1.0f - gx * gx - gy * gy;
        if (q < 0) q = -q;
        const float w = static_cast<float>(std::sqrt(D(q)));
        s = gz >= 0 ? std::asin(D(w)) : -std::asin(D(w));
    }
    const float sf = static_cast<float>(s);
    const float inclination = static_cast<float>(kHalfPi - sf);
    // A vertical tool: s rounded to float lies just past pi/2. The tool is at
    // 0, not at -4.4e-8 rad, which would normalise to 360.
    return inclination < 0 ? 0.0f : inclination;
}

float GravityToolFace(float gx, float gy) {
    float a = static_cast<float>(std::atan2(D(-gy), D(gx)));
    if (gx < 0) a = static_cast<float>(a + kTwoPi);
    return ToDegrees(a);
}

float MagneticToolFace(float mx, float my) {
    float b = static_cast<float>(std::atan2(D(-my), D(mx)));
    if (my < 0) b = static_cast<float>(b + kTwoPi);  // the probe tests my, not mx
    return ToDegrees(static_cast<float>(b + kPi));
}

}  // namespace

void CalibrateComponents(const ProbeCalibration& cal, AttitudeSample& s) {
    const TemperaturePowers p = PowersOf(s.v[Index::kTemperature]);
    double n[6];
    for (int channel = 0; channel < 6; ++channel) {
        n[channel] = Normalised(cal, channel, s.v[Index::kRawGx + channel], p);
    }
    const double* v = cal.values.data();
    ApplyMatrix(v + ProbeCalibration::kAccelMatrix, v + ProbeCalibration::kAccelOffset, n, &s.v[Index::kGx]);
    ApplyMatrix(v + ProbeCalibration::kMagMatrix, v + ProbeCalibration::kMagOffset, n + 3, &s.v[Index::kMx]);
}

void ComputeAngles(AttitudeSample& s) {
    const float gx = s.v[Index::kGx], gy = s.v[Index::kGy], gz = s.v[Index::kGz];
    const float mx = s.v[Index::kMx], my = s.v[Index::kMy], mz = s.v[Index::kMz];

    s.v[Index::kInclination] = ToDegrees(InclinationRadians(gx, gy, gz));

    const float h = gx * gx + gy * gy;
    const float g = static_cast<float>(std::sqrt(D(gz * gz + h)));
    const float m = static_cast<float>(std::sqrt(D(my * my + mx * mx + mz * mz)));
    s.v[Index::kTotalGravity] = g;
    s.v[Index::kTotalMagnetic] = m;

    s.v[Index::kGravityToolFace] = GravityToolFace(gx, gy);
    s.v[Index::kMagneticToolFace] = MagneticToolFace(mx, my);

    const float p = gx * mx + gy * my;
    const float y = (gy * mx - gx * my) * g;
    const float x = h * mz - p * gz;
    s.v[Index::kAzimuth] = ToDegrees(static_cast<float>(-std::atan2(D(y), D(x))));

    const double quotient = D(mz * gz + p) / D(m * g);
    s.v[Index::kDip] = ToDegrees(static_cast<float>(std::asin(quotient)));
}

void ComputeAttitude(const ProbeCalibration& cal, AttitudeSample& s) {
    CalibrateComponents(cal, s);
    ComputeAngles(s);
}

}  // namespace orb
