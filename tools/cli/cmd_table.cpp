// orb-cli table FILE.tlm: the survey table exactly as the window shows it
// after opening the file and running the chosen display commands, one line
// per row, the 21 columns separated by TAB, column 0 as "[x]" or "[ ]".
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/command.h"
#include "document/orb_doc.h"
#include "document/tlm_file.h"
#include "view/survey_table_model.h"

namespace orbcli {
namespace {

struct TableArgs {
    std::string file;
    bool selectedOnly = false;
    bool reverse = false;
    bool autoSelected = false;
    std::optional<int> delay;
    std::optional<int> interval;
};

void Fail(const std::string& path, const std::string& message) {
    std::cerr << "orb-cli: " << path << ": " << message << "\n";
}

// Loads FILE as the window's open command would; a zero-length file leaves
// the empty document.
bool Load(const std::string& path, orb::COrbDoc& doc, orb::TlmTiming& timing) {
    if (!orb::HasTlmExtension(std::string_view(path))) {
        Fail(path, "扩展名必须是 TLM 或 tlm（the file name must end in .TLM or .tlm）");
        return false;
    }
    orb::TlmLoadResult result = orb::LoadTlmFile(path);
    if (result.status == orb::TlmLoadStatus::kEmpty) return true;
    if (!result.loaded()) {
        Fail(path, result.message);
        return false;
    }
    return orb::AdoptLoaded(std::move(result), doc, timing);
}

void PrintTable(const orb::SurveyTableModel& model) {
    std::string out;
    for (std::size_t row = 0; row < model.RowCount(); ++row) {
        out += model.IsChecked(row) ? "[x]" : "[ ]";
        for (int c = 1; c < orb::kTableColumns; ++c) {
            out.push_back('\t');
            out += model.CellText(row, c);
        }
        out.push_back('\n');
        if (out.size() > (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
}

int RunTable(const TableArgs& args) {
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    if (!Load(args.file, doc, timing)) return 1;
    // The timing options stand in for the file's values in this listing only.
    if (args.delay) timing.sampleDelayMinutes = static_cast<int16_t>(*args.delay);
    if (args.interval) timing.sampleIntervalSeconds = static_cast<int16_t>(*args.interval);
    doc.SetTiming(timing);
    orb::SurveyTableModel model(doc);
    model.ReloadTable();
    // The window's commands, in the order that gives every combination its
    // meaning: the automatic selection lists in the current order.
    if (args.reverse) model.ReverseDisplay();
    if (args.selectedOnly) model.ShowSelected();
    if (args.autoSelected) model.OnShowAutoSelected();
    PrintTable(model);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<TableArgs>();
    sub.add_option("FILE", args->file, "Survey file (.tlm or .TLM)")->required();
    sub.add_flag("--selected-only", args->selectedOnly, "Show the selected records only (显示选中数据)");
    sub.add_flag("--reverse", args->reverse, "Rows from the last record to the first (逆序显示)");
    sub.add_flag("--auto-selected", args->autoSelected,
                 "Make the synchronizer-matched records the selection and list them (显示自动选中的数据)");
    sub.add_option("--delay", args->delay, "Sampling delay in minutes, instead of the file's")
        ->check(CLI::Range(-32768, 32767));
    sub.add_option("--interval", args->interval, "Sampling interval in seconds, instead of the file's")
        ->check(CLI::Range(-32768, 32767));
    return [args] { return RunTable(*args); };
}

Register reg{"table", "Print the survey table of a file as the window shows it (TAB separated)", Setup};

}  // namespace
}  // namespace orbcli
