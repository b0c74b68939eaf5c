// Bytes of a receive journal file (a crash, a full disk or a stranger's file
// can leave anything there) against the journal reader and the replay of its
// frames through the device logic. The reader must keep only whole entries
// inside the input, and the replay must stand whatever frames those are.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "device/device_fakes.h"
#include "device/journal_replay.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    const orb::JournalContents j = orb::ReadJournal(bytes);
    Check(j.goodBytes <= size, "good part within the input");
    std::size_t sum = 0;
    for (const auto& f : j.frames) {
        Check(!f.empty() && f.size() <= orb::kMaxJournalFrame, "entry length within bounds");
        sum += f.size() + 8;
    }
    Check(j.damage == orb::JournalDamage::kNotAJournal ? j.frames.empty() && j.goodBytes == 0
                                                       : j.goodBytes >= sum,
          "entries inside the good part");
    if (j.damage == orb::JournalDamage::kNone)
        Check(j.goodBytes == size, "a whole journal is read to its end");
    (void)orb::DescribeJournal(j);
    orb::COrbDoc doc;
    orb::SurveyEdits edits(doc);
    orb::test::ModelTable table(edits);
    const orb::JournalContents journals[] = {j};
    (void)orb::ReplayJournals(journals, doc, table);
    return 0;
}
