// Comparison of two list rows by one column: dates and times first, numbers
// second, otherwise the locale's text order.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pure/Orvex_StrUtils.h"

namespace orvex {

// The texts of one list row: its caption (column 0) and its sub-items
// (column k is SubItems[k - 1]).
struct TListItemText {
    std::string Caption;
    std::vector<std::string> SubItems;
};

// Locale-aware text order: negative, zero or positive.
using TTextComparer = std::function<int(std::string_view a, std::string_view b)>;

// The locale's rules that the comparison reads texts by.
struct TListCompareRules {
    TNumberFormat Numbers;
    TDateTimeFormat Dates;
    TDateTimeConverter ConvertDateTime;
    TTextComparer CompareText;
};

// The text of Column: the caption for 0, sub-item Column when the row has
// that many, else the empty text. Column must not be negative.
std::string_view ListItemColumnText(const TListItemText& item, int column) noexcept;

// -1, 0 or 1 for two cell texts: as date-times when both read as one, else
// as numbers when both read as one, else by the text order.
int CompareListTexts(std::string_view a, std::string_view b, const TListCompareRules& rules);

// -1, 0 or 1 for two rows by Column. An absent row, a negative column or any
// failure while reading the texts gives 0.
int CompareListItems(const TListItemText* item1, const TListItemText* item2, int column,
                     const TListCompareRules& rules) noexcept;

}  // namespace orvex
