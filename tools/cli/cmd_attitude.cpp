// orb-cli attitude: the probe's attitude computation on raw samples from
// standard input, for checking a probe's calibration offline and for
// regression runs.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"
#include "core/attitude_text.h"
#include "core/calibration.h"
#include "core/outside_file.h"

namespace {

// Loads a 912-byte block as the probe sends it; prints why not and returns false.
bool LoadCalibration(const std::string& path, orb::ProbeCalibration& cal) {
    std::string bytes;
    // One byte more than a block, so a longer file is seen as one.
    const orb::FileResult read = orb::ReadOutsideFile(path, bytes, orb::ProbeCalibration::kBytes + 1);
    if (!read.ok() && read.code != orb::FileStatus::kTooLarge) {
        std::fprintf(stderr, "orb-cli attitude: cannot open calibration file '%s': %s\n", path.c_str(),
                     read.message.c_str());
        return false;
    }
    if (!read.ok()) {
        std::fprintf(stderr, "orb-cli attitude: calibration file '%s' has more than 912 bytes\n",
                     path.c_str());
        return false;
    }
    if (bytes.size() != orb::ProbeCalibration::kBytes) {
        std::fprintf(stderr,
                     "orb-cli attitude: calibration file '%s' has %zu bytes; a calibration block has exactly "
                     "912 bytes (114 little-endian float64 values)\n",
                     path.c_str(), bytes.size());
        return false;
    }
    cal = orb::ProbeCalibration::FromBytes(
        std::span<const uint8_t, 912>(reinterpret_cast<const uint8_t*>(bytes.data()), 912));
    return true;
}

int Run(const std::string& calibrationPath) {
    orb::ProbeCalibration cal = orb::ProbeCalibration::Default();
    if (!calibrationPath.empty() && !LoadCalibration(calibrationPath, cal)) return 2;
    std::ios::sync_with_stdio(false);
    std::string line, error, out;
    for (long lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
        orb::AttitudeSample s;
        if (!orb::ParseRawSampleLine(line, s, error)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            std::fflush(stdout);
            std::fprintf(stderr, "orb-cli attitude: line %ld: %s\n", lineNumber, error.c_str());
            return 2;
        }
        orb::ComputeAttitude(cal, s);
        out += orb::FormatAttitudeOutputs(s);
        out.push_back('\n');
        if (out.size() > 60000) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

orbcli::Runner Setup(CLI::App& sub) {
    auto path = std::make_shared<std::string>();
    sub.add_option("--calibration", *path,
                   "912-byte calibration block as the probe sends it (the default block without it)");
    sub.footer(
        "Reads lines 'T gx gy gz mx my mz' (temperature in degC, six raw counts) from standard input and\n"
        "prints per line: inclination azimuth temperature gravity-tool-face magnetic-tool-face dip\n"
        "total-gravity total-magnetic gx gy gz mx my mz. A malformed line stops with exit status 2.\n");
    return [path] { return Run(*path); };
}

orbcli::Register reg{"attitude", "Compute survey values from raw probe samples on standard input", Setup};

}  // namespace
