// Shared helpers of the document tests: sample surveys and a scratch folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "document/orb_doc.h"

namespace orb::test {

// A survey with non-ASCII texts, odd reserved words and NaN payloads, so a
// round trip that is not bit-exact shows.
COrbDoc SampleDoc(std::size_t records = 5, std::size_t marks = 3);

// A fresh, empty folder removed again by the destructor.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::vector<std::string> Names() const;

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> ReadBytes(const std::filesystem::path& p);
void WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& bytes);

}  // namespace orb::test
