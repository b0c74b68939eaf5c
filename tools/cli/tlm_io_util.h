// Loading and saving survey files for the orb-cli file commands: every
// failure is reported on stderr, and the input file is only ever replaced
// through the safe save.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

#include "core/survey_record.h"
#include "document/orb_doc.h"
#include "document/tlm_file.h"

namespace orbcli {

// Exit statuses of the file commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFileError = 1;  // damaged, unreadable or unwritable file
inline constexpr int kExitBadArgs = 2;    // values that CLI11 cannot judge

struct SurveyFileArgs {
    std::string file;    // FILE.tlm, read and (without -o) replaced
    std::string output;  // -o OUT.tlm
};

// Adds the FILE positional and, for commands that write, -o OUT.tlm.
void AddSurveyFileArgs(CLI::App& sub, SurveyFileArgs& args, bool writes);

// Prints "orb-cli: PATH: message" on stderr.
void ReportError(const std::string& path, const std::string& message);

// Loads a survey; false (after reporting) for a wrong extension, a damaged or
// unreadable file and, unless `allowEmpty`, a zero-length file.
bool LoadSurvey(const std::string& path, orb::COrbDoc& doc, orb::TlmTiming& timing, bool allowEmpty,
                bool* wasEmpty = nullptr);

// Load FILE, let `edit` change the records (it returns an exit status, kExitOk
// to go on), then save safely to -o OUT or in place.
using RecordEdit = std::function<int(std::vector<orb::SurveyRecord>&)>;
int EditSurvey(const SurveyFileArgs& args, const RecordEdit& edit);

// A dialog-style number option ("--initial 12.5"): false (after reporting)
// when the text is not a number.
bool ParseNumberOption(const std::string& name, const std::string& text, double& value);
bool ParseFloatOption(const std::string& name, const std::string& text, float& value);

}  // namespace orbcli
