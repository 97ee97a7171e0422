#include "platform/pure/Orvex_StyleNames.h"

#include <array>

namespace orvex {

namespace {

struct TStyleName {
    const char* Name;
    std::uint32_t Bit;
    const char* NameWhenClear = nullptr;
};

constexpr std::array<TStyleName, 18> WindowStyles{{
    {"WS_BORDER", 0x00800000},
    {"WS_CHILD", 0x40000000},
    {"WS_CLIPCHILDREN", 0x02000000},
    {"WS_CLIPSIBLINGS", 0x04000000},
    {"WS_DISABLED", 0x08000000},
    {"WS_DLGFRAME", 0x00400000},
    {"WS_GROUP", 0x00020000},
    {"WS_HSCROLL", 0x00100000},
    {"WS_MAXIMIZE", 0x01000000},
    {"WS_MAXIMIZEBOX", 0x00010000},
    {"WS_MINIMIZE", 0x20000000},
    {"WS_MINIMIZEBOX", 0x00020000},
    {"WS_POPUP", 0x80000000},
    {"WS_SYSMENU", 0x00080000},
    {"WS_TABSTOP", 0x00010000},
    {"WS_THICKFRAME", 0x00040000},
    {"WS_VISIBLE", 0x10000000},
    {"WS_VSCROLL", 0x00200000},
}};

constexpr std::array<TStyleName, 16> ExStyles{{
    {"WS_EX_ACCEPTFILES", 0x10},
    {"WS_EX_DLGMODALFRAME", 0x1},
    {"WS_EX_NOPARENTNOTIFY", 0x4},
    {"WS_EX_TOPMOST", 0x8},
    {"WS_EX_TRANSPARENT", 0x20},
    {"WS_EX_MDICHILD", 0x40},
    {"WS_EX_TOOLWINDOW", 0x80},
    {"WS_EX_WINDOWEDGE", 0x100},
    {"WS_EX_CLIENTEDGE", 0x200},
    {"WS_EX_CONTEXTHELP", 0x400},
    {"WS_EX_RIGHT", 0x1000, "WS_EX_LEFT"},
    {"WS_EX_RTLREADING", 0x2000, "WS_EX_LTRREADING"},
    {"WS_EX_LEFTSCROLLBAR", 0x4000, "WS_EX_RIGHTSCROLLBAR"},
    {"WS_EX_CONTROLPARENT", 0x10000},
    {"WS_EX_STATICEDGE", 0x20000},
    {"WS_EX_APPWINDOW", 0x40000},
}};

constexpr std::array<TStyleName, 13> ClassStyles{{
    {"CS_BYTEALIGNCLIENT", 0x1000},
    {"CS_VREDRAW", 0x1},
    {"CS_HREDRAW", 0x2},
    {"CS_KEYCVTWINDOW", 0x4},
    {"CS_DBLCLKS", 0x8},
    {"CS_OWNDC", 0x20},
    {"CS_CLASSDC", 0x40},
    {"CS_PARENTDC", 0x80},
    {"CS_NOKEYCVT", 0x100},
    {"CS_NOCLOSE", 0x200},
    {"CS_SAVEBITS", 0x800},
    {"CS_BYTEALIGNWINDOW", 0x2000},
    {"CS_GLOBALCLASS", 0x4000},
}};

template <std::size_t N>
std::vector<std::string> NamesOf(const std::array<TStyleName, N>& table, std::uint32_t style) {
    std::vector<std::string> names;
    for (const TStyleName& entry : table) {
        if (style & entry.Bit)
            names.emplace_back(entry.Name);
        else if (entry.NameWhenClear)
            names.emplace_back(entry.NameWhenClear);
    }
    return names;
}

}  // namespace

std::vector<std::string> WindowStyleNames(std::uint32_t style) { return NamesOf(WindowStyles, style); }

std::vector<std::string> ExStyleNames(std::uint32_t exStyle) {
    if (static_cast<std::int32_t>(exStyle) <= 0) return {};
    return NamesOf(ExStyles, exStyle);
}

std::vector<std::string> ClassStyleNames(std::uint32_t classStyle) { return NamesOf(ClassStyles, classStyle); }

}  // namespace orvex
