#include "device/index_ranges.h"

#include <algorithm>
#include <iterator>

namespace orb {

bool IndexRanges::Add(int64_t index) {
    if (Contains(index)) return false;
    auto next = ranges_.upper_bound(index);
    const bool joinsNext = next != ranges_.end() && next->first == index + 1;
    if (next != ranges_.begin()) {
        auto prev = std::prev(next);
        if (prev->second == index - 1) {
            prev->second = joinsNext ? next->second : index;
            if (joinsNext) ranges_.erase(next);
            return true;
        }
    }
    if (joinsNext) {
        const int64_t last = next->second;
        ranges_.erase(next);
        ranges_.emplace(index, last);
    } else {
        ranges_.emplace(index, index);
    }
    return true;
}

bool IndexRanges::Contains(int64_t index) const {
    auto next = ranges_.upper_bound(index);
    return next != ranges_.begin() && std::prev(next)->second >= index;
}

std::vector<IndexRange> IndexRanges::Missing(int64_t count) const {
    std::vector<IndexRange> out;
    int64_t from = 0;  // the first index not yet known to be covered
    for (const auto& [first, last] : ranges_) {
        if (from >= count) break;
        if (first > from) out.push_back({from, std::min(first, count) - 1});
        from = std::max(from, last + 1);
    }
    if (from < count) out.push_back({from, count - 1});
    return out;
}

int64_t CountOf(const std::vector<IndexRange>& ranges) {
    int64_t n = 0;
    for (const IndexRange& r : ranges) n += r.last - r.first + 1;
    return n;
}

std::string RangesText(const std::vector<IndexRange>& ranges, std::size_t limit) {
    std::string s;
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (i == limit) return s + "等";
        if (i > 0) s += ", ";
        s += std::to_string(ranges[i].first);
        if (ranges[i].last != ranges[i].first) s += "-" + std::to_string(ranges[i].last);
    }
    return s;
}

}  // namespace orb
