// Object names in DOS form: a name under a drive's device
// ("\Device\HarddiskVolume3\Windows\x.dll") becomes the same path under the
// drive letter ("C:\Windows\x.dll"). The devices are those the drive letters
// stand for, read from the system once per pass.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvex {

class TDosNames {
public:
    // drive ("C:") stands for device ("\Device\HarddiskVolume3"). A device
    // that is empty or does not start with a backslash is ignored.
    void Add(std::string_view drive, std::string_view device);
    // name in DOS form: the drive of the longest device that name starts
    // with, as a whole path component and without regard to case, followed by
    // the rest of name; a name in the "\??\C:\..." form without its prefix;
    // name unchanged otherwise.
    std::string ToDos(std::string_view name) const;
    bool Empty() const noexcept { return drives_.empty(); }

private:
    struct TDrive {
        std::string Drive;
        std::string Device;
    };
    std::vector<TDrive> drives_;
};

}  // namespace orvex
