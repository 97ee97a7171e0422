// The key under which a file name is remembered: Windows file names compare
// without regard to the case of their letters.
#pragma once

#include <string>
#include <string_view>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

// name with its ASCII letters in upper case. isLeadByte, when given, tells
// the lead bytes of double-byte characters: the byte after a lead byte is
// part of that character and stays as it is.
std::string FileNameKey(std::string_view name, TLeadBytePredicate isLeadByte = nullptr);

}  // namespace orvex
