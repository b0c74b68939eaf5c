// The item indexes of a transfer that arrived, kept as ranges: a stream that
// arrives in order costs one range, and a garbled count costs nothing.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace orb {

struct IndexRange {
    int64_t first = 0;
    int64_t last = 0;  // included
    bool operator==(const IndexRange&) const = default;
};

class IndexRanges {
public:
    // False when `index` had arrived before.
    bool Add(int64_t index);
    bool Contains(int64_t index) const;
    // The indexes of [0, count) that never arrived, in order.
    std::vector<IndexRange> Missing(int64_t count) const;
    void Clear() { ranges_.clear(); }

private:
    std::map<int64_t, int64_t> ranges_;  // first -> last, disjoint, not adjacent
};

// How many indexes the ranges hold.
int64_t CountOf(const std::vector<IndexRange>& ranges);

// "10-11, 200": at most `limit` ranges, then "等" (and so on).
std::string RangesText(const std::vector<IndexRange>& ranges, std::size_t limit = 12);

}  // namespace orb
