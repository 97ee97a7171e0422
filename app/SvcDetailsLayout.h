// The declared layout of the service details dialog.
#pragma once

#include "app/DetailsForm.h"

namespace orvex {

enum TSvcDetailsPage : int { pgSvcGeneral, pgSvcDependencies };

enum : int {
    IdSvcGenList = 200,
    IdSvcDepText = 210,
    IdSvcDep1Label = 211,
    IdSvcDep1Tree = 212,
    IdSvcDep2Label = 213,
    IdSvcDep2Tree = 214,
};

extern const TDetailsFormDecl SvcDetailsForm;

}  // namespace orvex
