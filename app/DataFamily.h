// The family of the system that an inventory component's data describe.
#pragma once

#include "app/pure/ReportView.h"
#include "engine/OXI_Processes.h"

namespace orvex::app {

// The running system's family while the data are live; the family the
// report's header names once a report was loaded.
TDataFamily DataFamilyOf(const TOrvex_ProcessList& component);

}  // namespace orvex::app
