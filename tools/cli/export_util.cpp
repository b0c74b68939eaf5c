#include "cli/export_util.h"

#include <iostream>

#include "cli/tlm_io_util.h"
#include "document/well_info.h"

namespace orbcli {

void AddExportArgs(CLI::App& sub, ExportArgs& args) {
    sub.add_option("FILE", args.file, "Survey file (.tlm or .TLM)")->required();
    sub.add_option("-o,--output", args.output, "The file to write")->required();
    sub.add_option("--declination", args.declination,
                   "Magnetic declination in degrees (-360..360) for the true azimuth; default 0");
    sub.add_flag("--selected-only", args.selectedOnly, "Show the selected records only (显示选中数据)");
    sub.add_flag("--reverse", args.reverse, "Rows from the last record to the first (逆序显示)");
}

bool OpenExportTable(const ExportArgs& args, ExportTable& table) {
    if (!args.declination.empty()) {
        if (!ParseFloatOption("--declination", args.declination, table.declination)) return false;
        if (!orb::DeclinationInRange(table.declination)) {
            std::cerr << "orb-cli: --declination \"" << args.declination
                      << "\": " << orb::kDeclinationRangeMessage << "\n";
            return false;
        }
    }
    if (!LoadSurvey(args.file, table.doc, table.timing, true)) return false;
    table.model = std::make_unique<orb::SurveyTableModel>(table.doc);
    table.model->ReloadTable();
    // The window's display commands, in the order the print command uses.
    if (args.reverse) table.model->ReverseDisplay();
    if (args.selectedOnly) table.model->ShowSelected();
    return true;
}

}  // namespace orbcli
