#include "app/PrcDetailsLayout.h"

namespace orvex {

namespace {

constexpr TControlDecl Frame[] = {
    {IdDetailsIcon, "STATIC", "", {8, 8, 32, 32}, IconImageStyle},
    {IdDetailsName, "EDIT", "", {48, 16, 416, 18}, NameFieldStyle},
    {IdDetailsPages, WC_TABCONTROLA, "", {8, 48, 456, 432}, PagesStyle | TCS_MULTILINE, 0, akAll, true},
    {IdDetailsBevel, "STATIC", "", {8, 488, 456, 2}, BevelStyle},
    {IdPrcRefresh, "BUTTON", "Refresh", {8, 496, 75, 25}, PushButtonStyle, 0, akLeft | akBottom},
    // What the lists lack (handle names not read); empty when nothing.
    {IdPrcNotice, "STATIC", "", {91, 496, 290, 26}, SS_LEFT | SS_NOPREFIX, 0, akLeft | akRight | akBottom},
    {IdDetailsClose, "BUTTON", "Close", {389, 496, 75, 25}, DefaultButtonStyle, 0, akBottomRight},
};

// Pages are laid out for an area of 448 x 380 pixels.
constexpr TControlDecl General[] = {
    {IdPrcGenList, WC_LISTVIEWA, "", {4, 4, 440, 335}, PropertyListStyle, 0, akAll},
    {IdPrcGoToParent, "BUTTON", "Go to parent process", {4, 347, 130, 25}, PushButtonStyle, 0, akLeft | akBottom},
    {IdPrcProperties, "BUTTON", "Properties...", {369, 347, 75, 25}, PushButtonStyle, 0, akBottomRight},
};
constexpr TControlDecl Performance[] = {
    {IdPrcCntList, WC_LISTVIEWA, "", {4, 4, 440, 372}, HeaderedPropertyListStyle, 0, akAll},
};
constexpr TControlDecl Modules[] = {
    {IdPrcModList, WC_LISTVIEWA, "", {4, 4, 440, 335}, ColumnListStyle, 0, akAll},
    {IdPrcModProperties, "BUTTON", "Properties...", {369, 347, 75, 25}, PushButtonStyle, 0, akBottomRight},
};
constexpr TControlDecl Threads[] = {
    {IdPrcThdList, WC_LISTVIEWA, "", {4, 4, 440, 372}, ColumnListStyle, 0, akAll},
};
constexpr TControlDecl Handles[] = {
    {IdPrcHList, WC_LISTVIEWA, "", {4, 4, 440, 372}, ColumnListStyle, 0, akAll},
};
constexpr TControlDecl Windows[] = {
    {IdPrcWinTree, WC_TREEVIEWA, "", {4, 4, 440, 335}, TreeStyle, 0, akAll},
    {IdPrcWinDetails, "BUTTON", "Details...", {369, 347, 75, 25}, PushButtonStyle, 0, akBottomRight},
};
constexpr TControlDecl Security[] = {
    {IdPrcSecList, WC_LISTVIEWA, "", {4, 4, 440, 372}, PropertyListStyle, 0, akAll},
};
constexpr TControlDecl Children[] = {
    {IdPrcCPList, WC_LISTVIEWA, "", {4, 4, 440, 335}, ColumnListStyle, 0, akAll},
    {IdPrcGoToProcess, "BUTTON", "Go to process", {344, 347, 100, 25}, PushButtonStyle, 0, akBottomRight},
};

constexpr TDetailsPageDecl Pages[] = {
    {" General ", General},   {" Performance ", Performance}, {"Modules", Modules},
    {"Threads", Threads},     {" Handles ", Handles, true},   {" Windows ", Windows},
    {" Security ", Security}, {"Child Processes", Children},
};

}  // namespace

const TDetailsFormDecl PrcDetailsForm{"Process Details", 472, 528, Frame, Pages, 448, 380};

}  // namespace orvex
