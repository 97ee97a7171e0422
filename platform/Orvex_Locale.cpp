#include "platform/Orvex_Locale.h"

#include <windows.h>
#include <oleauto.h>

#include <vector>

#include "platform/Orvex_LibraryBinding.h"
#include "platform/pure/Orvex_CodePageRule.h"

namespace orvex {

// Each function of the library once.
#define ORVEX_OLEAUT32_FUNCTIONS(F) F(VarDateFromStr)

namespace {

// Bound at run time from the system directory, never imported: Windows 95
// and NT 4 look for an imported OLE automation library next to the program.
ORVEX_OLEAUT32_FUNCTIONS(ORVEX_DEFINE_SDK_SLOT)

constexpr TSlotBinding OleAut32Slots[] = {ORVEX_OLEAUT32_FUNCTIONS(ORVEX_SDK_SLOT_ENTRY)};
constinit TLibraryBinding OleAut32("OLEAUT32.DLL", OleAut32Slots);

// The code page in force decides how texts are cut and compared: set once,
// before main(), from the ANSI code page (UTF-8 where the program's manifest
// asks for it and the system honours that, Windows 10 1903 and later).
const bool CodePageRuleSet = [] {
    TCodePageRule rule;
    if (::GetACP() == CP_UTF8)
        rule.Utf8 = true;
    else if (IsDBCSLeadByte(0x81) || IsDBCSLeadByte(0xA1))
        rule.IsLeadByte = IsAnsiLeadByte;
    SetProcessCodePageRule(rule);
    return true;
}();

std::string UserLocaleText(LCTYPE type) {
    char buf[16] = {};  // separators hold at most four characters
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, static_cast<int>(sizeof buf));
    return n > 0 ? std::string(buf) : std::string();
}

}  // namespace

TNumberFormat UserNumberFormat() { return {UserLocaleText(LOCALE_STHOUSAND), UserLocaleText(LOCALE_SDECIMAL)}; }

TDateTimeFormat UserDateTimeFormat() { return {UserLocaleText(LOCALE_SDATE), UserLocaleText(LOCALE_STIME)}; }

bool LocaleConvertDateTime(std::string_view s, TDateTimeKind kind, double& value) {
    if (s.size() > 0x7FFF) return false;
    const int len = static_cast<int>(s.size());
    std::vector<wchar_t> wide(static_cast<std::size_t>(len) + 1, L'\0');
    if (len > 0 && MultiByteToWideChar(CP_ACP, 0, s.data(), len, wide.data(), len) == 0) return false;
    ULONG flags = 0;
    if (kind == TDateTimeKind::Date) flags = VAR_DATEVALUEONLY;
    if (kind == TDateTimeKind::Time) flags = VAR_TIMEVALUEONLY;
    DATE date = 0;
    const HRESULT answer = CallBound<OleAut32, VarDateFromStrSlot>(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND),
                                                                   wide.data(), LCID{LOCALE_USER_DEFAULT}, flags,
                                                                   &date);
    if (FAILED(answer)) return false;
    value = date;
    return true;
}

bool TextToFloat(std::string_view s, long double& value) { return TextToFloat(s, UserNumberFormat(), value); }

bool TextToDateTime(std::string_view s, double& value) {
    return TextToDateTime(s, UserDateTimeFormat(), LocaleConvertDateTime, value);
}

bool IsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

bool AnsiIsBackslashAt(std::string_view s, int index) { return IsBackslashAt(s, index, IsAnsiLeadByte); }

std::string AnsiAddTrailingBackslash(std::string_view s) { return AddTrailingBackslash(s, IsAnsiLeadByte); }

}  // namespace orvex
