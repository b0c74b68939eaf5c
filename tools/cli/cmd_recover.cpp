// orb-cli recover: the survey of transfers that were never saved, rebuilt
// from their receive journals (as the window offers at start-up), and the
// list of the journals in the folder.
#include <cstdio>
#include <filesystem>

#include "cli/command.h"
#include "cli/device_session.h"
#include "cli/tlm_io_util.h"
#include "device/journal_folder.h"
#include "device/journal_replay.h"
#include "document/survey_edits.h"
#include "view/survey_table_model.h"

namespace orbcli {
namespace {

namespace fs = std::filesystem;

struct RecoverArgs {
    std::vector<std::string> journals;
    std::string output;
    bool list = false;
};

void PrintJournal(const std::string& path, const char* state) {
    const orb::JournalContents c = orb::ReadJournalFile(path);
    const std::string damage = orb::JournalDamageText(c);
    std::printf("%s\t%s\t%s%s%s\n", state, path.c_str(),
                c.damage == orb::JournalDamage::kNotAJournal ? "" : orb::DescribeJournal(c).c_str(),
                damage.empty() ? "" : "\t", damage.c_str());
}

int List() {
    const orb::JournalFolder folder(JournalFolderPath());
    for (const std::string& p : folder.Journals())
        PrintJournal(p, orb::JournalInUse(p) ? "使用中" : "待恢复");
    for (const std::string& p : folder.Retired()) PrintJournal(p, "已归档");
    return kExitOk;
}

bool InFolder(const std::string& journal, const orb::JournalFolder& folder) {
    std::error_code ec;
    return fs::equivalent(fs::path(journal).parent_path(), folder.dir(), ec);
}

int Recover(const RecoverArgs& a) {
    const orb::JournalFolder folder(JournalFolderPath());
    const std::vector<std::string> paths = a.journals.empty() ? folder.Pending() : a.journals;
    if (paths.empty()) {
        std::fputs("没有待恢复的接收日志\n", stderr);
        return kExitFileError;
    }
    std::vector<orb::JournalLock> locks;
    std::vector<orb::JournalContents> journals;
    for (const std::string& p : paths) {
        orb::JournalLock lock;
        if (!lock.Acquire(p)) {
            ReportError(p, "接收日志正在使用中");
            return kExitFileError;
        }
        locks.push_back(std::move(lock));
        journals.push_back(orb::ReadJournalFile(p));
    }
    orb::COrbDoc doc;
    orb::SurveyEdits edits(doc);
    orb::SurveyTableModel model(edits);
    ModelDeviceTable table(model);
    const orb::ReplayResult r = orb::ReplayJournals(journals, doc, table);
    for (const std::string& d : r.damage) std::fprintf(stderr, "%s\n", d.c_str());
    if (!orb::HasTlmExtension(a.output)) {
        ReportError(a.output, "the file name must end in .tlm or .TLM");
        return kExitFileError;
    }
    const orb::FileResult saved = orb::SaveTlmFile(a.output, doc);
    if (!saved.ok()) {
        ReportError(a.output, saved.Text());
        return kExitFileError;
    }
    std::fprintf(stderr, "已恢复%zu条探管数据, %zu条同步器数据 -> %s\n", doc.RecordCount(), doc.MarkCount(),
                 a.output.c_str());
    // The survey holding their data is saved now.
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (InFolder(paths[i], folder)) folder.Retire(paths[i]);
        locks[i].Release();
    }
    return r.damage.empty() ? kExitOk : kExitIncomplete;
}

const Register regRecover{
    "recover", "Rebuild unsaved transfers from their receive journals", [](CLI::App& sub) -> Runner {
        auto a = std::make_shared<RecoverArgs>();
        sub.add_option("JOURNAL", a->journals, "Journals to replay, in order (default: every pending one)");
        sub.add_option("-o,--output", a->output, "Survey file to write (FILE.tlm)");
        sub.add_flag("--list", a->list, "List the journals of the folder");
        return [a] {
            if (a->list) return List();
            if (a->output.empty()) {
                std::fputs("recover: -o OUT.tlm is required\n", stderr);
                return kExitBadArgs;
            }
            return Recover(*a);
        };
    }};

}  // namespace
}  // namespace orbcli
