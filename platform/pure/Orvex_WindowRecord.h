// A window as the window routines describe it, with its class data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pure/Orvex_ShortString.h"

namespace orvex {

// A rectangle of four signed 32-bit coordinates.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

using TStringList = std::vector<std::string>;

// One window with its class data. The record owns its three style name lists.
struct TWindowInfo {
    TShortString ClassName;
    TShortString Text;
    std::uintptr_t Handle = 0;
    std::uint32_t ProcessID = 0;
    std::uint32_t ThreadID = 0;
    std::uintptr_t ParentWindow = 0;  // parent or owner
    std::uintptr_t WndProc = 0;
    std::uintptr_t Instance = 0;
    std::uintptr_t ID = 0;  // control identifier
    std::uintptr_t UserData = 0;
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    TRect Rect;  // screen coordinates
    TRect ClientRect;
    std::uint32_t Atom = 0;
    std::uint32_t ClassExtra = 0;
    std::uint32_t WindowExtra = 0;
    std::uintptr_t ClassWndProc = 0;
    std::uintptr_t Module = 0;
    std::uintptr_t Background = 0;
    std::uintptr_t Cursor = 0;
    std::uintptr_t Icon = 0;
    std::uint32_t ClassStyle = 0;
    TStringList StyleNames;
    TStringList ExStyleNames;
    TStringList ClassStyleNames;
    bool Visible = false;
    friend bool operator==(const TWindowInfo&, const TWindowInfo&) = default;
};
using TWindowList = std::vector<TWindowInfo>;

}  // namespace orvex
