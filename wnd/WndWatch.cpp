#include "wnd/WndWatch.h"

namespace zrwnd {

WndWatch* WndWatch::top_ = nullptr;

}  // namespace zrwnd
