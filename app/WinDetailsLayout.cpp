#include "app/WinDetailsLayout.h"

namespace orvex {

namespace {

constexpr TControlDecl Frame[] = {
    {IdDetailsIcon, "STATIC", "", {8, 8, 32, 32}, IconImageStyle},
    {IdDetailsName, "EDIT", "", {48, 16, 396, 18}, NameFieldStyle},
    {IdDetailsPages, WC_TABCONTROLA, "", {8, 48, 436, 352}, PagesStyle, 0, akAll, true},
    {IdDetailsBevel, "STATIC", "", {8, 408, 436, 2}, BevelStyle},
    {IdDetailsClose, "BUTTON", "Close", {369, 414, 75, 25}, DefaultButtonStyle, 0, akBottomRight},
};

// Pages are laid out for an area of 428 x 324 pixels.
constexpr TControlDecl General[] = {
    {IdWinGenList, WC_LISTVIEWA, "", {4, 4, 420, 316}, PropertyListStyle, 0, akAll},
};
constexpr TControlDecl Styles[] = {
    {IdWinSList, WC_LISTVIEWA, "", {4, 4, 420, 316}, PropertyListStyle, 0, akAll},
};
constexpr TControlDecl ClassInfo[] = {
    {IdWinCIList, WC_LISTVIEWA, "", {4, 4, 420, 316}, PropertyListStyle, 0, akAll},
};

constexpr TDetailsPageDecl Pages[] = {{" General ", General}, {" Styles ", Styles}, {" Class Info ", ClassInfo}};

}  // namespace

const TDetailsFormDecl WinDetailsForm{"Window Details", 452, 446, Frame, Pages, 428, 324};

}  // namespace orvex
