// Points in time as ISO 8601 text, for exported inventories and
// differences.
#pragma once

#include <cstdint>
#include <string>

namespace orvex {

// A count of 100-ns units from 1601-01-01 UTC as "YYYY-MM-DDThh:mm:ss.fffZ"
// (milliseconds, cut); "" for zero, a negative count, or a year after 9999.
std::string IsoTimeFromFileTime(std::int64_t hundredNs);

// A local date-time (days since 1899-12-30, the fraction the time of day) as
// "YYYY-MM-DDThh:mm:ss" without a zone (rounded to the second); "" for zero,
// a value that is not finite, or a year outside 1601 to 9999.
std::string IsoTimeFromDateTime(double days);

}  // namespace orvex
