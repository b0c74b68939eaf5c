// Reads a workbook back with Debian's python3-xlrd, an independent reader.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>

#include "test_dir.h"

namespace orb::test {

struct ReadCell {
    std::string type;  // "text", "number", "boolean", "error", "blank"
    nlohmann::json value;
};

struct ReadSheet {
    std::string name;
    int visibility = 0;                             // 0 visible, 1 hidden, 2 very hidden
    std::map<std::pair<int, int>, ReadCell> cells;  // (row, column) from 0
    const ReadCell* At(int row, int col) const {
        const auto it = cells.find({row, col});
        return it == cells.end() ? nullptr : &it->second;
    }
};

// The sheets of the workbook at `path`, or an empty vector after a test
// failure when the reader could not read it.
inline std::vector<ReadSheet> ReadWithXlrd(const std::string& path) {
    TempDir dir;
    const std::string out = dir / "dump.json";
    const std::string cmd = "/usr/bin/python3 '" ORB_SOURCE_DIR "/tests/report/dump_workbook.py' '" + path +
                            "' > '" + out + "' 2> '" + (dir / "err") + "'";
    if (std::system(cmd.c_str()) != 0) {
        ADD_FAILURE() << "python3-xlrd could not read " << path << ": " << ReadAll(dir / "err");
        return {};
    }
    std::vector<ReadSheet> sheets;
    const nlohmann::json doc = nlohmann::json::parse(ReadAll(out));
    for (const auto& s : doc["sheets"]) {
        ReadSheet sheet;
        sheet.name = s["name"];
        sheet.visibility = s["visibility"];
        for (const auto& c : s["cells"]) sheet.cells[{c[0], c[1]}] = ReadCell{c[2], c[3]};
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

}  // namespace orb::test
