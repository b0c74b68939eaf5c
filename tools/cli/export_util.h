// What orb-cli export-txt and export-xls share: the survey file, the table as
// the window would show it after the display commands, and the declination.
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "view/survey_table_model.h"

namespace orbcli {

struct ExportArgs {
    std::string file;
    std::string output;
    std::string declination;
    bool selectedOnly = false;
    bool reverse = false;
};

void AddExportArgs(CLI::App& sub, ExportArgs& args);

struct ExportTable {
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    std::unique_ptr<orb::SurveyTableModel> model;
    float declination = 0.0f;
};

// Loads FILE (an empty file gives an empty table), checks --declination and
// fills the table. False after reporting on stderr.
bool OpenExportTable(const ExportArgs& args, ExportTable& table);

}  // namespace orbcli
