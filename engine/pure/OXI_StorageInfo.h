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
};

}  // namespace orvex
