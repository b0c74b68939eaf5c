// orb-cli stations FILE.tlm --still: the still periods of a survey file and
// one proposed station in each; --apply makes exactly those the stations.
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "core/still_periods.h"

namespace orbcli {
namespace {

struct StationsArgs {
    SurveyFileArgs file;
    bool still = false;
    std::string limits;
    bool apply = false;
};

bool BuildLimits(const std::string& text, orb::StillLimits& l) {
    double samples = l.minSamples;
    if (!text.empty() && !ParseNumberList("--limits", text,
                                          {&l.gravityMg, &l.magneticNt, &l.inclination, &l.azimuth,
                                           &l.azimuthMinInclination, &samples})) {
        return false;
    }
    if (samples != std::floor(samples) || !(std::fabs(samples) < 1e9)) {
        std::fprintf(stderr, "orb-cli: --limits: the number of samples must be a whole number\n");
        return false;
    }
    l.minSamples = static_cast<int>(samples);
    const std::string problem = orb::StillLimitsProblem(l);
    if (!problem.empty()) std::fprintf(stderr, "orb-cli: %s\n", problem.c_str());
    return problem.empty();
}

// One line per period: number, first and last record, samples, proposed
// record; the comparison with the matched stations on stderr.
void PrintProposal(const orb::StillProposal& p) {
    std::string out = "静止段\t首记录\t末记录\t样本数\t建议测点\n";
    for (std::size_t k = 0; k < p.periods.size(); ++k) {
        const orb::StillPeriod& s = p.periods[k];
        out += std::to_string(k) + "\t" + std::to_string(s.first) + "\t" + std::to_string(s.last) + "\t" +
               std::to_string(s.size()) + "\t" + std::to_string(s.stillest) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fprintf(stderr, "%s\n", orb::StillProposalSummary(p).c_str());
}

int Run(const StationsArgs& a) {
    orb::StillLimits limits;
    if (!BuildLimits(a.limits, limits)) return kExitBadArgs;
    if (!a.apply && !a.file.output.empty()) {
        std::fprintf(stderr, "orb-cli: -o writes the selection of --apply; give --apply as well\n");
        return kExitBadArgs;
    }
    if (a.apply) {
        return EditSurvey(a.file, [&](orb::SurveyEdits& edits) {
            const auto& records = edits.document().records();
            const orb::StillProposal p = orb::ProposeStillStations(records, limits);
            PrintProposal(p);
            edits.SetSelection(orb::StillSelection(records.size(), p.records));
            return kExitOk;
        });
    }
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    if (!LoadSurvey(a.file.file, doc, timing, true)) return kExitFileError;
    PrintProposal(orb::ProposeStillStations(doc.records(), limits));
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<StationsArgs>();
    AddSurveyFileArgs(sub, args->file, true);
    sub.add_flag("--still", args->still, "Find the still periods and propose one station in each")
        ->required();
    sub.add_option("--limits", args->limits,
                   "g,m,i,a,ai,n: spread of each gravity component (mg) and magnetic component (nT), "
                   "change of inclination and azimuth (degrees), the inclination from which azimuth "
                   "counts, and the fewest consecutive samples; default 2,100,0.2,1,5,2; an empty field "
                   "keeps its default");
    sub.add_flag("--apply", args->apply,
                 "Make the proposed records the selected stations (and no others), in place or to -o");
    return [args] { return Run(*args); };
}

Register reg{"stations", "Still periods of a survey file and the stations they suggest (按静止段选择测点)",
             Setup};

}  // namespace
}  // namespace orbcli
