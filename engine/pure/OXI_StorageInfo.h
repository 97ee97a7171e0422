// Description of the machine and system an inventory describes, as a report
// header holds it.
#pragma once

#include <cstdint>
#include <string>

namespace orvex {

// Description of the machine and system an inventory describes.
struct TStorageInfoRecord {
    std::string Machine;
    std::string Application;
    std::string OSName;
    std::int32_t Platform = 0;
    std::int32_t MajorVersion = 0;
    std::int32_t MinorVersion = 0;
    std::int32_t BuildNumber = 0;
    std::string CSDVersion;
    double Timestamp = 0;  // date-time: days since 1899-12-30, fraction = time of day
    std::string Rights;
    std::string LoggedUser;
    std::string Account;
    bool VMWare = false;
    bool VPC = false;
    // The same moment in 100-ns units since 1601 (UTC), which tells the
    // moment wherever the report is read; 0 where a report does not hold it.
    std::int64_t TimestampUtc = 0;
};

}  // namespace orvex
