// What the driver details dialog shows: the version data of the driver file.
#pragma once

#include "app/pure/DetailsText.h"
#include "platform/pure/Orvex_VersionData.h"

namespace orvex {

// Description (heading), version, product and company, then a separator.
TPropertyRows DriverGeneralRows(const TVersionInfo& version);

inline constexpr int DriverGeneralWidths[] = {125, 270};

}  // namespace orvex
