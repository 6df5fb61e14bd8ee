#pragma once

// The rich edit is published in zrwnd/RichEdit.h; this pair holds its behaviour.
#include "zrwnd/RichEdit.h"
