// The declared layout of the driver details dialog.
#pragma once

#include "app/DetailsForm.h"

namespace orvex {

enum TDrvDetailsPage : int { pgDrvGeneral };

enum : int {
    IdDrvGenList = 200,
    IdDrvProperties = 201,
};

extern const TDetailsFormDecl DrvDetailsForm;

}  // namespace orvex
