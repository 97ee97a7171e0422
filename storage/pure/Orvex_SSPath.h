// Paths of elements inside a compound file: "ProcessList\0" names the
// element "0" inside the sub-storage "ProcessList".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

struct TStoragePath {
    std::vector<std::string> SubStorages;  // from the outermost inwards
    std::string ElementName;
};

// Splits Path at its backslashes. Blanks and control characters at both ends
// are removed first, then one leading backslash; the text after the last
// backslash is the element name, every piece before it a sub-storage name.
// A blank path gives no names and an empty element name. With a lead-byte
// predicate, a backslash that is the trail byte of a double-byte character
// does not separate.
TStoragePath SplitStoragePath(std::string_view path, TLeadBytePredicate isLeadByte = nullptr);

}  // namespace orvex
