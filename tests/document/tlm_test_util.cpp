#include "document/tlm_test_util.h"

#include <unistd.h>

#include <bit>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orb::test {

COrbDoc SampleDoc(std::size_t records, std::size_t marks) {
    COrbDoc doc;
    doc.SetTeamNumber(u"井队编号");
    doc.SetWellNumber(u"W-7 \U0001F600 ü");  // a surrogate pair and a Latin-1 letter
    doc.SetProbeNumber(u"P0042");
    for (std::size_t i = 0; i < records; ++i) {
        SurveyRecord r;
        r.syncMatched = static_cast<int32_t>(i % 2);
        r.selected = static_cast<int32_t>(i % 3 == 0 ? 1 : (i % 3 == 1 ? 0 : 2));
        r.inclination = 1.25f * static_cast<float>(i);
        r.azimuth = 359.9f;
        r.gravityToolFace = 12.5f;
        r.magneticToolFace = std::bit_cast<float>(0x7FC01234u + static_cast<uint32_t>(i));  // NaN payload
        r.dip = 330.0f;
        r.totalGravity = 1.0001f;
        r.totalMagnetic = 0.95f;
        r.gx = -0.0f;
        r.depth = 100.0f + static_cast<float>(i);
        r.sampleTime = 41401.5 + static_cast<double>(i) / 86400.0;
        r.sampleTimeStatus = static_cast<int32_t>(i % 3);
        r.batteryVoltage = 7.5f;
        for (int k = 0; k < 6; ++k) r.reserved[k] = static_cast<int32_t>(0xA5A50000u + i * 16 + k);
        doc.AppendRecord(r);
    }
    for (std::size_t i = 0; i < marks; ++i) {
        doc.AppendMark({static_cast<int32_t>(i), 1, 41401.5 + static_cast<double>(i) / 1440.0, 0});
    }
    return doc;
}

ScratchDir::ScratchDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "orbdoc-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> ScratchDir::Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename());
    return names;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace orb::test
