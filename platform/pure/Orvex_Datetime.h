// Durations as text: a clock reading or a sentence of calendar units.
#pragma once

#include <cstdint>
#include <string>

namespace orvex {

// Seconds of the units that a duration is split into. A year counts 365.5
// days and a month 31 days.
inline constexpr std::int64_t SecondsPerMinute = 60;
inline constexpr std::int64_t SecondsPerHour = 3'600;
inline constexpr std::int64_t SecondsPerDay = 86'400;
inline constexpr std::int64_t SecondsPerWeek = 604'800;
inline constexpr std::int64_t SecondsPerMonth = 2'678'400;
inline constexpr std::int64_t SecondsPerYear = 31'579'200;
inline constexpr std::int64_t SecondsPerCentury = 3'157'920'000;

// Formats Seconds.
//   AllUnits and ClockStyle:   "YY.MM.DD hh:mm:ss" (days include the weeks,
//                              centuries are not shown)
//   AllUnits only:             every unit from centuries down, as a sentence
//   ClockStyle only:           "hh:mm:ss" within the last day
//   neither:                   a sentence from the largest non-zero unit down,
//                              "1 Hour, 2 Minutes, 5 Seconds."
// WholeSeconds chooses "5" over "5.00" for the seconds of a sentence.
// A negative count is formatted as 0 seconds.
std::string FormatDuration(std::int64_t seconds, bool wholeSeconds, bool allUnits, bool clockStyle);

// A count of 100-ns units as whole seconds, rounded to the nearest second
// with an exact half going to the even neighbour. Negative counts give 0.
std::int64_t HundredNsToSeconds(std::int64_t hundredNs);

// A processor time given in 100-ns units as the program shows it: rounded
// to whole seconds and formatted as "hh:mm:ss".
std::string FormatCpuTime(std::int64_t hundredNs);

}  // namespace orvex
