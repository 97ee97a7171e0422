#include "app/DrvDetailsLayout.h"

namespace orvex {

namespace {

constexpr TControlDecl Frame[] = {
    {IdDetailsIcon, "STATIC", "", {8, 8, 32, 32}, IconImageStyle},
    {IdDetailsName, "EDIT", "", {48, 16, 416, 18}, NameFieldStyle},
    {IdDetailsPages, WC_TABCONTROLA, "", {8, 48, 456, 432}, PagesStyle, 0, akAll, true},
    {IdDetailsBevel, "STATIC", "", {8, 488, 456, 2}, BevelStyle},
    {IdDetailsClose, "BUTTON", "Close", {389, 496, 75, 25}, DefaultButtonStyle, 0, akBottomRight},
};

// The page is laid out for an area of 448 x 404 pixels.
constexpr TControlDecl General[] = {
    {IdDrvGenList, WC_LISTVIEWA, "", {4, 4, 440, 359}, PropertyListStyle, 0, akAll},
    {IdDrvProperties, "BUTTON", "Properties...", {369, 371, 75, 25}, PushButtonStyle, 0, akBottomRight},
};

constexpr TDetailsPageDecl Pages[] = {{" General ", General}};

}  // namespace

const TDetailsFormDecl DrvDetailsForm{"Driver Details", 472, 528, Frame, Pages, 448, 404};

}  // namespace orvex
