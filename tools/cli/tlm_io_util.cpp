#include "cli/tlm_io_util.h"

#include <cstdio>
#include <iostream>
#include <optional>

#include "document/well_info.h"

namespace orbcli {

void AddSurveyFileArgs(CLI::App& sub, SurveyFileArgs& args, bool writes) {
    sub.add_option("FILE", args.file, "Survey file (.tlm or .TLM)")->required();
    if (writes) {
        sub.add_option("-o,--output", args.output,
                       "Write the result to OUT.tlm instead of replacing FILE (safely) in place");
    }
}

void ReportError(const std::string& path, const std::string& message) {
    std::cerr << "orb-cli: " << path << ": " << message << "\n";
}

namespace {

bool CheckExtension(const std::string& path) {
    if (orb::HasTlmExtension(std::string_view(path))) return true;
    ReportError(path, "扩展名必须是 TLM 或 tlm（the file name must end in .TLM or .tlm）");
    return false;
}

}  // namespace

bool LoadSurvey(const std::string& path, orb::COrbDoc& doc, orb::TlmTiming& timing, bool allowEmpty,
                bool* wasEmpty) {
    if (!CheckExtension(path)) return false;
    orb::TlmLoadResult result = orb::LoadTlmFile(path);
    const bool empty = result.status == orb::TlmLoadStatus::kEmpty;
    if (wasEmpty) *wasEmpty = empty;
    if (empty) {
        if (!allowEmpty) ReportError(path, "文件为空，没有可处理的数据（the file is empty）");
        return allowEmpty;
    }
    if (!result.loaded()) {
        ReportError(path, result.message);
        return false;
    }
    if (!result.contextNotice.empty()) ReportError(path, result.contextNotice);
    if (result.trailingBytes > 0) std::fprintf(stderr, "%s: %s\n", path.c_str(), orb::kTlmTrailingNote);
    return orb::AdoptLoaded(std::move(result), doc, timing);
}

int EditSurvey(const SurveyFileArgs& args, const SurveyEdit& edit) {
    const std::string& target = args.output.empty() ? args.file : args.output;
    if (!args.output.empty() && !CheckExtension(args.output)) return kExitBadArgs;
    orb::COrbDoc doc;
    orb::TlmTiming timing;
    if (!LoadSurvey(args.file, doc, timing, false)) return kExitFileError;
    orb::SurveyEdits edits(doc);
    if (const int status = edit(edits); status != kExitOk) return status;
    const orb::FileResult saved = orb::SaveTlmFile(target, doc);
    if (!saved.ok()) {
        ReportError(target, saved.message);
        return kExitFileError;
    }
    return kExitOk;
}

namespace {

template <class T>
bool TakeNumber(const std::string& name, const std::string& text, const std::optional<T>& parsed, T& value) {
    if (!parsed) {
        std::cerr << "orb-cli: " << name << " \"" << text << "\": " << orb::kNotANumberMessage
                  << "（not a number）\n";
        return false;
    }
    value = *parsed;
    return true;
}

}  // namespace

bool ParseNumberOption(const std::string& name, const std::string& text, double& value) {
    return TakeNumber(name, text, orb::ParseDialogNumber(std::string_view(text)), value);
}

bool ParseFloatOption(const std::string& name, const std::string& text, float& value) {
    return TakeNumber(name, text, orb::ParseDialogFloat(std::string_view(text)), value);
}

bool ParseNumberList(const std::string& name, const std::string& text, std::vector<double*> values) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    if (fields.size() != values.size()) {
        std::fprintf(stderr, "orb-cli: %s \"%s\": expected %zu comma-separated values\n", name.c_str(),
                     text.c_str(), values.size());
        return false;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!fields[i].empty() && !ParseNumberOption(name, fields[i], *values[i])) return false;
    }
    return true;
}

}  // namespace orbcli
