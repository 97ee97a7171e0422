// What the service details dialog shows: the configuration rows and the
// names its dependency trees are built from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/pure/DetailsText.h"
#include "engine/pure/OXI_Records.h"
#include "platform/pure/Orvex_VersionData.h"

namespace orvex {

// The General page: version data of the executable, then name, image, account,
// group and type, then state, start type and error control.
TPropertyRows ServiceGeneralRows(const TServiceInfo& service, const TVersionInfo& version);

inline constexpr int ServiceGeneralWidths[] = {150, 200};

// The names of a dependency text, split at blanks, commas and control
// characters; a name in double quotes may hold blanks and commas, and a
// doubled quote inside it stands for one quote.
std::vector<std::string> SplitServiceNames(std::string_view text);

// Whether a dependency text names Name as one of its entries (letter case
// ignored), not merely as a part of a longer name.
bool DependsOnService(std::string_view dependOnService, std::string_view name);

}  // namespace orvex
