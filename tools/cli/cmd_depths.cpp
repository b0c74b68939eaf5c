// orb-cli depths FILE.tlm --initial X --segment Y: depth generation on a file.
#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "core/corrections.h"

namespace orbcli {
namespace {

struct DepthArgs {
    SurveyFileArgs file;
    std::string initial;
    std::string segment;
};

int RunDepths(const DepthArgs& a) {
    float initial = 0, segment = 0;
    if (!ParseFloatOption("--initial", a.initial, initial) ||
        !ParseFloatOption("--segment", a.segment, segment))
        return kExitBadArgs;
    return EditSurvey(a.file, [&](orb::SurveyEdits& edits) {
        edits.GenerateDepths(initial, segment);
        return kExitOk;
    });
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<DepthArgs>();
    AddSurveyFileArgs(sub, args->file, true);
    sub.add_option("--initial", args->initial, "Depth of the first selected record")->required();
    sub.add_option("--segment", args->segment, "Length between two selected records (may be negative)")
        ->required();
    return [args] { return RunDepths(*args); };
}

Register reg{"depths", "Give the selected records depths from an initial depth and a segment length", Setup};

}  // namespace
}  // namespace orbcli
