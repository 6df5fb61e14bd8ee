#pragma once

// Everything a host needs: the window base class, the driver window, the
// engine contract and the support classes.
#include "zrwnd/Engine.h"
#include "zrwnd/EventArgs.h"
#include "zrwnd/IDC.h"
#include "zrwnd/IDrvWnd.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/IWndFactory.h"
#include "zrwnd/IWndNameRegistry.h"
#include "zrwnd/Identity.h"
#include "zrwnd/NativeTypes.h"
#include "zrwnd/PortableHost.h"
#include "zrwnd/Timer.h"
#include "zrwnd/Types.h"
#include "zrwnd/ZrEvent.h"
#include "zrwnd/ZrString.h"
#include "zrwnd/ZrThread.h"
