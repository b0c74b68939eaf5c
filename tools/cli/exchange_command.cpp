#include "cli/exchange_command.h"

#include <memory>

#include "cli/tlm_io_util.h"
#include "cli/trajectory_options.h"
#include "core/atomic_file.h"

namespace orbcli {
namespace {

struct ExchangeArgs {
    std::string file;
    std::string output;
    TrajectoryOptionArgs options;
};

int Run(const ExchangeArgs& a, const ExchangeWriter& writer) {
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    orb::ExchangeOptions options;
    if (!BuildExchangeOptions(a.options, doc, options, false)) return kExitBadArgs;
    if (!LoadSurvey(a.file, doc, timing, true)) return kExitFileError;
    if (!BuildExchangeOptions(a.options, doc, options)) return kExitBadArgs;
    const orb::ExchangeSurvey survey = orb::BuildExchangeSurvey(doc, options);
    const std::string text = writer(survey);
    if (text.empty()) {
        ReportError(a.output, "生成文件内容失败（cannot format）");
        return kExitFileError;
    }
    const orb::FileResult r = orb::WriteFileAtomically(a.output, text);
    if (!r.ok()) {
        ReportError(a.output, "写文件失败（cannot write）: " + r.Text());
        return kExitFileError;
    }
    std::fprintf(stderr, "%zu 个测点；%s\n", survey.stations.size(),
                 orb::ReferencesText(options.references, options.trajectory.tieOn).c_str());
    return kExitOk;
}

}  // namespace

Runner SetupExchangeExport(CLI::App& sub, ExchangeWriter writer) {
    auto args = std::make_shared<ExchangeArgs>();
    sub.add_option("FILE", args->file, "Survey file (.TLM or .tlm)")->required();
    sub.add_option("-o,--output", args->output, "The file to write (replaced whole)")->required();
    AddTrajectoryOptions(sub, args->options);
    return [args, writer] { return Run(*args, writer); };
}

}  // namespace orbcli
