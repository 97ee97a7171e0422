#include "engine/pure/OXI_DosNames.h"

#include "platform/pure/Orvex_TextCase.h"

namespace orvex {

namespace {

// True when name starts with prefix (without regard to case) and the prefix
// ends at a path separator or at the end of name.
bool StartsWithComponent(std::string_view name, std::string_view prefix) {
    if (name.size() < prefix.size() || !SameText(name.substr(0, prefix.size()), prefix)) return false;
    return name.size() == prefix.size() || name[prefix.size()] == '\\' || prefix.back() == '\\';
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

void TDosNames::Add(std::string_view drive, std::string_view device) {
    if (drive.empty() || device.empty() || device.front() != '\\') return;
    drives_.push_back({std::string(drive), std::string(device)});
}

std::string TDosNames::ToDos(std::string_view name) const {
    const TDrive* best = nullptr;
    for (const TDrive& d : drives_)
        if (StartsWithComponent(name, d.Device) && (!best || d.Device.size() > best->Device.size())) best = &d;
    if (best) {
        std::string_view rest = name.substr(best->Device.size());
        if (best->Device.back() == '\\') return best->Drive + "\\" + std::string(rest);
        return rest.empty() ? best->Drive + "\\" : best->Drive + std::string(rest);
    }
    // "\??\C:\..." (and "\DosDevices\C:\..."): the drive path itself.
    for (std::string_view prefix : {std::string_view("\\??\\"), std::string_view("\\DosDevices\\")})
        if (name.size() >= prefix.size() + 2 && SameText(name.substr(0, prefix.size()), prefix) &&
            IsDriveLetter(name[prefix.size()]) && name[prefix.size() + 1] == ':')
            return std::string(name.substr(prefix.size()));
    return std::string(name);
}

}  // namespace orvex
