// Rebuilds a survey from receive journals: their frames go, in order,
// through a device controller of its own whose line, timers and operator do
// nothing, so the document and the table end as they were when the journal
// stopped (records, marks, the station matching of a finished transfer).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/device_controller.h"
#include "device/device_interfaces.h"
#include "device/receive_journal.h"
#include "document/orb_doc.h"

namespace orb {

struct ReplayResult {
    TransferState samples;  // the last sample transfer replayed
    TransferState marks;    // the last mark transfer replayed
    int16_t delayMinutes = 0;
    int16_t intervalSeconds = 0;
    int32_t workIntervalSeconds = 0;
    std::vector<std::string> damage;  // one text per damaged journal
};

// Journals are replayed in the order given, as one session would have
// received them. The document is marked modified when anything arrived.
ReplayResult ReplayJournals(std::span<const JournalContents> journals, COrbDoc& doc, DeviceTable& table);

// What a journal holds, for the recovery question and the listing.
struct JournalSummary {
    int32_t announced = 0;  // the count reply's number
    int64_t items = 0;      // sample or mark frames
};
JournalSummary SummarizeJournal(const JournalContents& c);

// "<device> <probe number>, <start time>, <n>条探管数据/同步器数据" for the
// question and the listing.
std::string DescribeJournal(const JournalContents& c);

}  // namespace orb
