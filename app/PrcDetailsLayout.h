// The declared layout of the process details dialog: its frame, its eight
// pages and their controls.
#pragma once

#include "app/DetailsForm.h"

namespace orvex {

// Pages, in their order on the page control.
enum TPrcDetailsPage : int {
    pgPrcGeneral,
    pgPrcPerformance,
    pgPrcModules,
    pgPrcThreads,
    pgPrcHandles,
    pgPrcWindows,
    pgPrcSecurity,
    pgPrcChildren,
};

enum : int {
    IdPrcRefresh = 104,
    IdPrcNotice = 105,
    IdPrcGenList = 200,
    IdPrcGoToParent = 201,  // "Go to parent process"
    IdPrcProperties = 202,  // "Properties..." of the image file
    IdPrcCntList = 210,
    IdPrcModList = 220,
    IdPrcModProperties = 221,
    IdPrcThdList = 230,
    IdPrcHList = 240,
    IdPrcWinTree = 250,
    IdPrcWinDetails = 251,
    IdPrcSecList = 260,
    IdPrcCPList = 270,
    IdPrcGoToProcess = 271,
};

extern const TDetailsFormDecl PrcDetailsForm;

}  // namespace orvex
