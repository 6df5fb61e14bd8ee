#pragma once

// The button is published in zrwnd/Button.h; this pair holds its behaviour.
#include "zrwnd/Button.h"
