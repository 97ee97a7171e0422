// The platform routines of the program in one include: operating-system
// identification, security tokens, version data, user names, process and
// window routines.
#pragma once

#include "platform/Orvex_FileIcon.h"
#include "platform/Orvex_OSInfo.h"
#include "platform/Orvex_ProcessRoutines.h"
#include "platform/Orvex_Token.h"
#include "platform/Orvex_UserNames.h"
#include "platform/Orvex_VMProbes.h"
#include "platform/Orvex_VersionInfo.h"
#include "platform/Orvex_WindowInfo.h"
