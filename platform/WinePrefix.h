#pragma once

// Moved to game/. Only the save still includes it from here, until it takes
// the native path instead of resolving one itself; remove then.
#include "game/WinePrefix.h"
