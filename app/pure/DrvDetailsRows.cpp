#include "app/pure/DrvDetailsRows.h"

namespace orvex {

TPropertyRows DriverGeneralRows(const TVersionInfo& version) {
    TPropertyRows rows;
    AddVersionRows(rows, version);
    return rows;
}

}  // namespace orvex
