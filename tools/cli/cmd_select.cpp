// orb-cli select FILE.tlm --all|--none|--invert|--records LIST: the table's
// selection commands on a file.
#include <charconv>
#include <iostream>
#include <string_view>

#include "cli/command.h"
#include "cli/tlm_io_util.h"

namespace orbcli {
namespace {

struct SelectArgs {
    SurveyFileArgs file;
    bool all = false;
    bool none = false;
    bool invert = false;
    std::string records;
    CLI::Option* recordsOption = nullptr;
};

bool ParseIndex(std::string_view text, std::size_t& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// "0,2,5-9": record indexes counted from 0, ranges inclusive.
bool MarkListed(std::string_view list, std::vector<uint8_t>& records) {
    if (list.empty()) {
        std::cerr << "orb-cli: --records: the list is empty (记录序号无效)\n";
        return false;
    }
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        const std::size_t dash = item.find('-');
        std::size_t first = 0, last = 0;
        const bool ok = dash == std::string_view::npos ? ParseIndex(item, first) && ParseIndex(item, last)
                                                       : ParseIndex(item.substr(0, dash), first) &&
                                                             ParseIndex(item.substr(dash + 1), last);
        if (!ok || first > last || last >= records.size()) {
            std::cerr << "orb-cli: --records: \"" << item << "\" is no index or range within 0-"
                      << (records.empty() ? 0 : records.size() - 1) << " (记录序号无效)\n";
            return false;
        }
        for (std::size_t i = first; i <= last; ++i) records[i] = 1;
    }
    return true;
}

int ApplySelection(const SelectArgs& a, orb::SurveyEdits& edits) {
    if (a.recordsOption->count() > 0) {
        std::vector<uint8_t> selected(edits.document().RecordCount(), 0);  // all or nothing on a bad list
        if (!MarkListed(a.records, selected)) return kExitBadArgs;
        edits.SetSelection(selected);
        return kExitOk;
    }
    if (a.all) edits.SelectAll();
    if (a.none) edits.SelectNone();
    if (a.invert) edits.InvertSelection();
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<SelectArgs>();
    AddSurveyFileArgs(sub, args->file, true);
    auto* which = sub.add_option_group("selection", "Exactly one of");
    which->add_flag("--all", args->all, "Select every record");
    which->add_flag("--none", args->none, "Deselect every record");
    which->add_flag("--invert", args->invert, "Select the unselected records and deselect the others");
    args->recordsOption =
        which->add_option("--records", args->records,
                          "Select exactly these records (0-based, e.g. 0,2,5-9) and deselect the rest");
    which->require_option(1);
    return [args] {
        return EditSurvey(args->file, [&](orb::SurveyEdits& e) { return ApplySelection(*args, e); });
    };
}

Register reg{"select", "Change which records of a survey file are selected stations", Setup};

}  // namespace
}  // namespace orbcli
