#pragma once

// The menu is published in zrwnd/Menu.h; this pair holds its behaviour.
#include "zrwnd/Menu.h"
