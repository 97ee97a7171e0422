#include "ui/pure/Orvex_ListCompare.h"

namespace orvex {

namespace {

int Sign(int v) noexcept { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

}  // namespace

std::string_view ListItemColumnText(const TListItemText& item, int column) noexcept {
    if (column == 0) return item.Caption;
    if (column < 0 || item.SubItems.size() < static_cast<std::size_t>(column)) return {};
    return item.SubItems[static_cast<std::size_t>(column) - 1];
}

int CompareListTexts(std::string_view a, std::string_view b, const TListCompareRules& rules) {
    double dateA = 0, dateB = 0;
    if (rules.ConvertDateTime && TextToDateTime(a, rules.Dates, rules.ConvertDateTime, dateA) &&
        TextToDateTime(b, rules.Dates, rules.ConvertDateTime, dateB)) {
        const double d = dateA - dateB;
        return d < 0 ? -1 : (d > 0 ? 1 : 0);
    }
    long double numberA = 0, numberB = 0;
    if (TextToFloat(a, rules.Numbers, numberA) && TextToFloat(b, rules.Numbers, numberB))
        return numberA < numberB ? -1 : (numberA > numberB ? 1 : 0);
    if (rules.CompareText) return Sign(rules.CompareText(a, b));
    return Sign(a.compare(b));
}

int CompareListItems(const TListItemText* item1, const TListItemText* item2, int column,
                     const TListCompareRules& rules) noexcept {
    if (item1 == nullptr || item2 == nullptr || column < 0) return 0;
    try {
        return CompareListTexts(ListItemColumnText(*item1, column), ListItemColumnText(*item2, column), rules);
    } catch (...) {
        return 0;
    }
}

}  // namespace orvex
