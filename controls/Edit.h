#pragma once

// The edit box is published in zrwnd/Edit.h; this pair holds its behaviour.
#include "zrwnd/Edit.h"
