#include "app/DataFamily.h"

#include "platform/Orvex_OSInfo.h"

namespace orvex::app {

TDataFamily DataFamilyOf(const TOrvex_ProcessList& component) {
    if (component.LiveData()) return {IsNT(), IsNT()};
    return ReportDataFamily(component.StorageInfo.Platform,
                            component.DriverCount() > 0 || component.ServiceCount() > 0);
}

}  // namespace orvex::app
