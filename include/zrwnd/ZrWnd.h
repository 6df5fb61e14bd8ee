#pragma once

// Everything a host needs: the window base class, the stock controls, the
// driver window, the engine contract and the support classes.
#include "zrwnd/Button.h"
#include "zrwnd/ControlKit.h"
#include "zrwnd/DefWnd.h"
#include "zrwnd/Edit.h"
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
#include "zrwnd/ScrollBar.h"
#include "zrwnd/Timer.h"
#include "zrwnd/Types.h"
#include "zrwnd/ZrEvent.h"
#include "zrwnd/ZrString.h"
#include "zrwnd/ZrThread.h"
