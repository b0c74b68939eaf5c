// orb-cli context FILE.tlm: shows the survey context stored in the file as
// JSON (docs/tlm-context.md); --set CONTEXT.json stores another, --clear
// removes it (the file is then exactly the original layout again). Changes
// go to -o OUT.tlm or replace FILE safely.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "document/tlm_extension.h"

namespace orbcli {
namespace {

struct ContextArgs {
    SurveyFileArgs file;
    std::string set;
    bool clear = false;
};

bool ReadContext(const std::string& path, orb::SurveyContext& context) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        ReportError(path, "无法读取（cannot read）");
        return false;
    }
    std::string problem;
    std::optional<orb::SurveyContext> c = orb::ContextFromJson(text.str(), problem);
    if (!c) {
        ReportError(path, "测量背景信息无效: " + problem);
        return false;
    }
    context = std::move(*c);
    return true;
}

int RunContext(const ContextArgs& a) {
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    if (a.set.empty() && !a.clear) {
        if (!LoadSurvey(a.file.file, doc, timing, true)) return kExitFileError;
        std::puts(doc.context().empty() ? "{}" : orb::ContextToJson(doc.context()).c_str());
        return kExitOk;
    }
    orb::SurveyContext context;
    if (!a.set.empty() && !ReadContext(a.set, context)) return kExitBadArgs;
    if (!LoadSurvey(a.file.file, doc, timing, false)) return kExitFileError;
    doc.SetContext(std::move(context));
    const std::string& target = a.file.output.empty() ? a.file.file : a.file.output;
    const orb::FileResult saved = orb::SaveTlmFile(target, doc, timing);
    if (!saved.ok()) {
        ReportError(target, saved.message);
        return kExitFileError;
    }
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<ContextArgs>();
    AddSurveyFileArgs(sub, args->file, true);
    sub.add_option("--set", args->set, "Store the context of CONTEXT.json (format orb-survey-context)");
    sub.add_flag("--clear", args->clear, "Remove the stored context");
    sub.get_option("--set")->excludes(sub.get_option("--clear"));
    return [args] { return RunContext(*args); };
}

Register reg{"context", "Show, store or remove the survey context kept in a survey file", Setup};

}  // namespace
}  // namespace orbcli
