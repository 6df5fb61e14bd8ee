#pragma once

// The default window is published in zrwnd/DefWnd.h; this pair holds its behaviour.
#include "zrwnd/DefWnd.h"
