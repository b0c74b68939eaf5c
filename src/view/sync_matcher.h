// Automatic station selection: every synchronizer mark picks the probe
// sample nearest to it in time as a survey station.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/survey_record.h"
#include "document/orb_doc.h"
#include "document/survey_edits.h"

namespace orb {

// For every mark, in mark order, the index of the record nearest in time on
// the continuous day scale, or -1 when none is strictly closer than
// (workIntervalSeconds + 1) seconds. Of several records at the same distance
// the lowest index wins. Date status words are not consulted. Gives exactly
// what comparing every mark with every record in record order gives, in
// O((records + marks) log records).
std::vector<std::ptrdiff_t> NearestRecordsForMarks(std::span<const SurveyRecord> records,
                                                   std::span<const SyncRecord> marks,
                                                   int32_t workIntervalSeconds);

// Sets `selected` and `syncMatched` to 1 in every record a mark picks (one
// edit, SurveyEdits::MatchStations); never clears either flag. Returns the
// number of marks that picked a record.
std::size_t MatchSyncMarks(SurveyEdits& edits, int32_t workIntervalSeconds);

}  // namespace orb
