// Pure code including a Windows header of a lower layer.
#pragma once

#include "platform/Orvex_Resources.h"
