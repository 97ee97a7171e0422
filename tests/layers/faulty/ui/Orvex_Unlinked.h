// A layer that names the engine without including any of it.
#pragma once

#include "platform/Orvex_Resources.h"
