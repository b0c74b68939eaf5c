#include "geo/geomag_files.h"

#include <unistd.h>

#include <array>
#include <filesystem>
#include <system_error>

namespace orb {

namespace {

namespace fs = std::filesystem;

bool HoldsModels(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / "wmm2025.wmm", ec) && fs::is_regular_file(dir / "igrf14.wmm", ec);
}

std::string ProgramFolder() {
    std::array<char, 4096> buf{};
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return {};
    return fs::path(std::string(buf.data(), static_cast<std::size_t>(n))).parent_path().string();
}

}  // namespace

std::string GeomagModelFolderFor(const std::string& programFolder) {
    if (!programFolder.empty()) {
        const fs::path bin(programFolder);
        if (HoldsModels(bin.parent_path() / "share/orb/geomag"))
            return (bin.parent_path() / "share/orb/geomag").string();
        fs::path up = bin;
        for (int level = 0; level <= 3 && !up.empty(); ++level, up = up.parent_path()) {
            if (HoldsModels(up / "geomag")) return (up / "geomag").string();
            if (up == up.parent_path()) break;
        }
    }
#ifdef ORB_GEOMAG_DIR
    if (HoldsModels(ORB_GEOMAG_DIR)) return ORB_GEOMAG_DIR;
#endif
    return {};
}

std::string GeomagModelFolder() {
    return GeomagModelFolderFor(ProgramFolder());
}

}  // namespace orb
