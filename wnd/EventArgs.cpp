#include "zrwnd/EventArgs.h"

namespace zrwnd::events {
const ZrString SizeChanged("IWnd_EventSizeChanged");
const ZrString TextChanged("IWnd_EventTextChanged");
const ZrString ChildAdded("IWnd_EventChildAdded");
const ZrString ChildRemoved("IWnd_EventChildRemoved");
const ZrString Destory("IWnd_EventDestory");
const ZrString BeforeScene("IWnd_EventBeforeScene");
const ZrString AfterScene("IWnd_EventAfterScene");
const ZrString RenderStarted("IWnd_EventRenderStarted");
const ZrString RenderChild("IWnd_EventRenderChild");
const ZrString RenderEnded("IWnd_EventRenderEnded");
const ZrString Enabled("IWnd_EventEnabled");
const ZrString Disabled("IWnd_EventDisabled");
const ZrString Activated("IWnd_EventActivated");
const ZrString Deactivated("IWnd_EventDeactivated");
const ZrString Visible("IWnd_EventVisible");
const ZrString Invisible("IWnd_EventInvisible");
const ZrString CaptureGained("IWnd_EventCaptureGained");
const ZrString CaptureLost("IWnd_EventCaptureLost");
const ZrString MouseMove("IWnd_EventMouseMove");
const ZrString MouseWheel("IWnd_EventMouseWheel");
const ZrString MouseEnter("IWnd_EventMouseEnter");
const ZrString MouseLeave("IWnd_EventMouseLeave");
const ZrString MouseDown("IWnd_EventMouseDown");
const ZrString MouseUp("IWnd_EventMouseUp");
const ZrString MouseDBClick("IWnd_EventMouseDBClick");
const ZrString KeyUp("IWnd_EventKeyUp");
const ZrString KeyDown("IWnd_EventKeyDown");
const ZrString Char("IWnd_EventChar");
const ZrString IMEChanged("IWnd_EventIMEChanged");
const ZrString FontChanged("IWnd_EventFontChanged");

const ZrString* const All[kCount] = {
    &SizeChanged,   &TextChanged, &ChildAdded,    &ChildRemoved, &Destory,      &BeforeScene,
    &AfterScene,    &RenderStarted, &RenderChild, &RenderEnded,  &Enabled,      &Disabled,
    &Activated,     &Deactivated, &Visible,       &Invisible,    &CaptureGained, &CaptureLost,
    &MouseMove,     &MouseWheel,  &MouseEnter,    &MouseLeave,   &MouseDown,    &MouseUp,
    &MouseDBClick,  &KeyUp,       &KeyDown,       &Char,         &IMEChanged,   &FontChanged,
};
}  // namespace zrwnd::events
