// Storage reaching up into the engine.
#pragma once

#include "engine/OXI_Processes.h"
#include "platform/Orvex_Resources.h"
