// Zone-less calendar arithmetic for the simulated device clocks: a clock is
// a count of seconds on the civil calendar, so shifting it never meets a
// daylight-saving gap.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/ole_date.h"

namespace devsim {

// Seconds since 1970-01-01 00:00:00 of a civil date-time (no time zone).
int64_t CivilSeconds(const orb::DateTimeFields& f);
// The inverse, with dayOfWeek (0 = Sunday) and dayOfYear filled in.
orb::DateTimeFields CivilFields(int64_t seconds);
// The host's local wall-clock time as civil seconds.
int64_t LocalCivilNow();
// "YYYY-MM-DD HH:MM:SS" (or with 'T' between date and time); nothing when
// the text is malformed or the fields are out of range.
std::optional<orb::DateTimeFields> ParseDateTime(std::string_view text);
std::string FormatDateTime(const orb::DateTimeFields& f);

}  // namespace devsim
