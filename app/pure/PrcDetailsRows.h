// What the General and Performance pages of the process details dialog show
// for one process record.
#pragma once

#include <cstdint>
#include <string>

#include "app/pure/DetailsText.h"
#include "engine/pure/OXI_Records.h"
#include "platform/pure/Orvex_VersionData.h"

namespace orvex {

// The rows of the General page: the image file's version data, the
// identifiers, image name and command line, then the user, priority and
// counts. The NT family shows the user name and the handle count, the 9x
// family the process usage instead.
TPropertyRows ProcessGeneralRows(const TProcessInfo& process, const TVersionInfo& version,
                                 const std::string& commandLine, bool nt);

// The rows of the Performance page (NT family only): processor times, I/O
// counters and memory counters, each with a current and a peak value.
TPropertyRows ProcessCounterRows(const TProcessInfo& process);
// The same rows for a process read from a report, which keeps its processor
// times but no I/O or memory counters: those rows show no values.
TPropertyRows StoredCounterRows(const TProcessInfo& process);

// The columns of the Performance list.
inline constexpr TColumnDef CounterColumns[] = {{"Name", 200},
                                                {"Current", 100, TColumnAlign::Right},
                                                {"Peak", 100, TColumnAlign::Right}};

// Widths of the General list's two columns (it has no headers).
inline constexpr int ProcessGeneralWidths[] = {125, 270};

// Idle and system processes (identifiers 0 to 9) have no image file.
inline constexpr bool HasImageFile(std::uint32_t pid) noexcept { return pid > 9; }

}  // namespace orvex
