#include "app/SvcDetailsLayout.h"

namespace orvex {

namespace {

constexpr TControlDecl Frame[] = {
    {IdDetailsIcon, "STATIC", "", {8, 8, 32, 32}, IconImageStyle},
    {IdDetailsName, "EDIT", "", {48, 16, 359, 18}, NameFieldStyle},
    {IdDetailsPages, WC_TABCONTROLA, "", {8, 48, 399, 384}, PagesStyle, 0, akAll, true},
    {IdDetailsBevel, "STATIC", "", {8, 440, 399, 2}, BevelStyle},
    {IdDetailsClose, "BUTTON", "Close", {332, 448, 75, 25}, DefaultButtonStyle, 0, akBottomRight},
};

// Pages are laid out for an area of 391 x 356 pixels.
constexpr TControlDecl General[] = {
    {IdSvcGenList, WC_LISTVIEWA, "", {4, 4, 383, 348}, PropertyListStyle, 0, akAll},
};
constexpr DWORD DependencyTreeStyle = TreeStyle | TVS_DISABLEDRAGDROP;
constexpr TControlDecl Dependencies[] = {
    {IdSvcDepText,
     "STATIC",
     "Some services depend on other services. If a service is stopped or is not running properly, dependent "
     "service can be affected.",
     {6, 6, 379, 40},
     SS_LEFT | WS_CLIPSIBLINGS,
     0,
     akLeft | akTop | akRight},
    {IdSvcDep1Label,
     "STATIC",
     "This service depends on  these services:",
     {6, 52, 379, 14},
     SS_LEFT | WS_CLIPSIBLINGS,
     0,
     akLeft | akTop | akRight},
    {IdSvcDep1Tree, WC_TREEVIEWA, "", {6, 68, 379, 124}, DependencyTreeStyle, 0, akLeft | akTop | akRight},
    {IdSvcDep2Label,
     "STATIC",
     "These services depend on this service:",
     {6, 200, 379, 14},
     SS_LEFT | WS_CLIPSIBLINGS,
     0,
     akLeft | akTop | akRight},
    {IdSvcDep2Tree, WC_TREEVIEWA, "", {6, 216, 379, 134}, DependencyTreeStyle, 0, akAll},
};

constexpr TDetailsPageDecl Pages[] = {{" General ", General}, {" Dependencies ", Dependencies}};

}  // namespace

const TDetailsFormDecl SvcDetailsForm{"Service Details", 415, 481, Frame, Pages, 391, 356};

}  // namespace orvex
