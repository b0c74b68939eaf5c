// orb-cli compensate FILE.tlm --inclination ... --dip ...: data compensation
// of the selected records on a file. Offsets not given are 0.
#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "core/corrections.h"

namespace orbcli {
namespace {

struct Offset {
    const char* name;
    double orb::CompensationOffsets::*field;
    const char* help;
    std::string text = "0";
};

struct CompensateArgs {
    SurveyFileArgs file;
    Offset offsets[7] = {
        {"--inclination", &orb::CompensationOffsets::inclination, "Inclination offset (井斜补偿)"},
        {"--azimuth", &orb::CompensationOffsets::azimuth, "Azimuth offset (方位补偿)"},
        {"--gtf", &orb::CompensationOffsets::gravityToolFace, "Gravity tool-face offset (GTF补偿)"},
        {"--mtf", &orb::CompensationOffsets::magneticToolFace, "Magnetic tool-face offset (MTF补偿)"},
        {"--gt", &orb::CompensationOffsets::totalGravity, "Total-gravity offset (GT补偿)"},
        {"--mt", &orb::CompensationOffsets::totalMagnetic, "Total-magnetic-field offset (MT补偿)"},
        {"--dip", &orb::CompensationOffsets::dip, "Dip offset (DIP补偿)"},
    };
};

int RunCompensate(const CompensateArgs& a) {
    orb::CompensationOffsets offsets;
    for (const Offset& o : a.offsets) {
        if (!ParseNumberOption(o.name, o.text, offsets.*o.field)) return kExitBadArgs;
    }
    return EditSurvey(a.file, [&](orb::SurveyEdits& edits) {
        edits.Compensate(offsets);
        return kExitOk;
    });
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<CompensateArgs>();
    AddSurveyFileArgs(sub, args->file, true);
    for (Offset& o : args->offsets) sub.add_option(o.name, o.text, o.help);
    return [args] { return RunCompensate(*args); };
}

Register reg{"compensate", "Add compensation offsets to the selected records of a survey file", Setup};

}  // namespace
}  // namespace orbcli
