#include "zrwnd/controls/DefWnd.h"

#include <cstring>

DefWnd::DefWnd() = default;

// The image strip releases an owned image.
DefWnd::~DefWnd() = default;

bool DefWnd::SetImage(IZrImage* image) {
    if (!image_.Attach(image)) return false;
    SizeToImage();
    return true;
}

bool DefWnd::LoadImage(const char* path, int option) {
    if (!image_.Reload(path, option)) return false;
    SizeToImage();
    return true;
}

void DefWnd::SizeToImage() { SetWndPos(0, 0, image_.Width(), image_.Height(), ZRSWP_NOMOVE); }

void DefWnd::RenderSelf() {
    if (image_.IsLoaded()) image_.Get()->Draw(GetClientDC(), 0, 0, 0, 0, 0, 0, 0, 0);
}

bool DefWnd::SetLayoutAttribute(const char* name, const char* value) {
    return !std::strcmp(name, "image") && zrwnd::LayoutImageLoaded(LoadImage(value, 0), value);
}
