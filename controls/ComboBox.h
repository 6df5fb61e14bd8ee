#pragma once

// The combo box is published in zrwnd/ComboBox.h; this pair holds its behaviour.
#include "zrwnd/ComboBox.h"
