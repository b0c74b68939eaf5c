// orb-cli context FILE.tlm: shows the survey context stored in the file as
// JSON (docs/tlm-context.md); --set CONTEXT.json stores another, --clear
// removes it (the file is then exactly the original layout again). Changes
// go to -o OUT.tlm or replace FILE safely.
#include <cstdio>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "core/outside_file.h"
#include "document/tlm_extension.h"

namespace orbcli {
namespace {

struct ContextArgs {
    SurveyFileArgs file;
    std::string set;
    bool clear = false;
};

// A context is a few hundred bytes of JSON.
constexpr std::size_t kMaxContextFileBytes = std::size_t{1} << 20;

bool ReadContext(const std::string& path, orb::SurveyContext& context) {
    std::string text;
    const orb::FileResult read = orb::ReadOutsideFile(path, text, kMaxContextFileBytes);
    if (!read.ok()) {
        ReportError(path, "无法读取（cannot read）: " + read.message);
        return false;
    }
    std::string problem;
    std::optional<orb::SurveyContext> c = orb::ContextFromJson(text, problem);
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
