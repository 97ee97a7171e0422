// The declared layout of the window details dialog.
#pragma once

#include "app/DetailsForm.h"

namespace orvex {

enum TWinDetailsPage : int { pgWinGeneral, pgWinStyles, pgWinClassInfo };

enum : int {
    IdWinGenList = 200,
    IdWinSList = 210,
    IdWinCIList = 220,
};

extern const TDetailsFormDecl WinDetailsForm;

}  // namespace orvex
