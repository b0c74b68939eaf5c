#include "core/synthetic.h"

#include <cmath>
#include <numbers>
#include <random>

namespace orb {
namespace {

using Vec = std::array<double, 3>;

double Dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec Cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec Combine(double s, const Vec& a, double t, const Vec& b) {
    return {s * a[0] + t * b[0], s * a[1] + t * b[1], s * a[2] + t * b[2]};
}

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// Inverse of a 3x3 row-major matrix; false when it is singular.
bool Invert(const double* m, std::array<double, 9>& inv) {
    const double c0 = m[4] * m[8] - m[5] * m[7];
    const double c1 = m[5] * m[6] - m[3] * m[8];
    const double c2 = m[3] * m[7] - m[4] * m[6];
    const double det = m[0] * c0 + m[1] * c1 + m[2] * c2;
    if (det == 0 || !std::isfinite(det)) return false;
    inv = {c0, m[2] * m[7] - m[1] * m[8], m[1] * m[5] - m[2] * m[4],
           c1, m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[0] * m[5],
           c2, m[1] * m[6] - m[0] * m[7], m[0] * m[4] - m[1] * m[3]};
    for (double& x : inv) x /= det;
    return true;
}

double Polynomial(const double* c, double t) {
    double v = 0;
    for (int i = 0; i < 7; ++i) v += c[i] * std::pow(t, 6 - i);
    return v;
}

int16_t ToCount(double r) {
    if (!std::isfinite(r)) return 0;
    r = std::nearbyint(r);
    if (r < -32768.0) return -32768;
    if (r > 32767.0) return 32767;
    return static_cast<int16_t>(r);
}

// Normalised channel values n for calibrated components `v` of one sensor.
bool Unapply(const double* matrix, const double* offset, const Vec& v, Vec& n) {
    std::array<double, 9> inv;
    if (!Invert(matrix, inv)) return false;
    const Vec d{v[0] - offset[0], v[1] - offset[1], v[2] - offset[2]};
    for (int r = 0; r < 3; ++r) n[r] = inv[3 * r] * d[0] + inv[3 * r + 1] * d[1] + inv[3 * r + 2] * d[2];
    return true;
}

class Uniform {
public:
    explicit Uniform(uint64_t seed) : rng_(seed) {}
    // mt19937_64's output is fixed by the standard; the distributions are not.
    double operator()(double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(rng_() >> 11) * 0x1p-53;
    }

private:
    std::mt19937_64 rng_;
};

void GenerateSensor(Uniform& u, double* matrix, double* offset) {
    for (int i = 0; i < 9; ++i) matrix[i] = i % 4 == 0 ? 1.0 + u(-0.05, 0.05) : u(-0.02, 0.02);
    for (int i = 0; i < 3; ++i) offset[i] = u(-0.01, 0.01);
}

void GeneratePolynomial(Uniform& u, double* c, double constant) {
    // Highest power first; every term stays below ~1 % of full scale up to 150 degC.
    c[0] = u(-1e-13, 1e-13);
    c[1] = u(-1e-10, 1e-10);
    c[2] = u(-5e-8, 5e-8);
    c[3] = u(-1e-5, 1e-5);
    c[4] = u(-2e-3, 2e-3);
    c[5] = u(-0.5, 0.5);
    c[6] = constant + u(-300, 300);
}

}  // namespace

SensorVectors IdealVectors(const ToolAttitude& a) {
    const double inc = Radians(a.inclination), az = Radians(a.azimuth);
    const double tf = Radians(a.gravityToolFace), dip = Radians(a.dip);
    // Earth frame north, east, down; the tool frame is right-handed.
    const Vec axis{std::sin(inc) * std::cos(az), std::sin(inc) * std::sin(az), std::cos(inc)};
    const Vec highSide{std::cos(inc) * std::cos(az), std::cos(inc) * std::sin(az), -std::sin(inc)};
    const Vec right = Cross(axis, highSide);
    const Vec x = Combine(-std::cos(tf), highSide, -std::sin(tf), right);
    const Vec y = Cross(axis, x);
    const Vec down{0, 0, 1};
    const Vec field{a.fieldMagnitude * std::cos(dip), 0, a.fieldMagnitude * std::sin(dip)};
    SensorVectors v;
    v.g = {a.gravityMagnitude * Dot(down, x), a.gravityMagnitude * Dot(down, y),
           a.gravityMagnitude * Dot(down, axis)};
    v.m = {Dot(field, x), Dot(field, y), Dot(field, axis)};
    return v;
}

std::array<int16_t, 6> RawCountsFor(const ProbeCalibration& cal, float temperature, const SensorVectors& v) {
    const double* c = cal.values.data();
    Vec n[2];
    const bool okG =
        Unapply(c + ProbeCalibration::kAccelMatrix, c + ProbeCalibration::kAccelOffset, v.g, n[0]);
    const bool okM = Unapply(c + ProbeCalibration::kMagMatrix, c + ProbeCalibration::kMagOffset, v.m, n[1]);
    std::array<int16_t, 6> counts{};
    for (int channel = 0; channel < 6; ++channel) {
        if (!(channel < 3 ? okG : okM)) continue;
        const double upper = Polynomial(c + ProbeCalibration::UpperPoly(channel), temperature);
        const double lower = Polynomial(c + ProbeCalibration::LowerPoly(channel), temperature);
        // n = (2r - (U + L)) / (U - L), solved for r.
        counts[channel] = ToCount((n[channel / 3][channel % 3] * (upper - lower) + (upper + lower)) / 2.0);
    }
    return counts;
}

AttitudeSample RawSample(const ProbeCalibration& cal, float temperature, const SensorVectors& v) {
    AttitudeSample s;
    s.v[AttitudeSample::kTemperature] = temperature;
    const std::array<int16_t, 6> counts = RawCountsFor(cal, temperature, v);
    for (int k = 0; k < 6; ++k) s.v[AttitudeSample::kRawGx + k] = counts[k];
    return s;
}

ProbeCalibration GenerateCalibration(uint64_t seed) {
    Uniform u(seed);
    ProbeCalibration cal;
    double* c = cal.values.data();
    GenerateSensor(u, c + ProbeCalibration::kAccelMatrix, c + ProbeCalibration::kAccelOffset);
    GenerateSensor(u, c + ProbeCalibration::kMagMatrix, c + ProbeCalibration::kMagOffset);
    for (int channel = 0; channel < 6; ++channel) {
        GeneratePolynomial(u, c + ProbeCalibration::UpperPoly(channel), 4500.0);
        GeneratePolynomial(u, c + ProbeCalibration::LowerPoly(channel), -4500.0);
    }
    return cal;
}

}  // namespace orb
