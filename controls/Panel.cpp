#include "zrwnd/controls/Panel.h"
#include "zrwnd/controls/Look.h"

#include <algorithm>
#include <cstring>

#include "zrwnd/IDrvWnd.h"

Panel::Panel() : fillArgb_(zrwnd::GetLook().panelFill), borderArgb_(zrwnd::GetLook().panelBorder) {}

// The image strip releases an owned image.
Panel::~Panel() = default;

void Panel::RenderSelf() {
    IDrvRender* renderer = zrwnd::Renderer();
    if (!renderer) return;
    IDC* dc = GetClientDC();
    ZrRect box;
    GetClientRect(&box);
    if (fillArgb_ >> 24) renderer->FillRect(dc, &box, fillArgb_);
    // Tiled from the top-left corner; the clip cuts the last row and column.
    const int w = image_.Width(), h = image_.Height();
    if (image_.IsLoaded() && w > 0 && h > 0) {
        for (int y = 0; y < box.bottom; y += h) {
            for (int x = 0; x < box.right; x += w) image_.DrawFrame(dc, 0, 1, x, y);
        }
    }
    const int b = std::min({borderWidth_, box.right / 2, box.bottom / 2});
    if (b <= 0 || !(borderArgb_ >> 24)) return;
    renderer->FillRect(dc, 0, 0, box.right, b, borderArgb_);
    renderer->FillRect(dc, 0, box.bottom - b, box.right, box.bottom, borderArgb_);
    renderer->FillRect(dc, 0, b, b, box.bottom - b, borderArgb_);
    renderer->FillRect(dc, box.right - b, b, box.right, box.bottom - b, borderArgb_);
}

void Panel::SetClrFill(std::uint32_t argb) {
    if (argb == fillArgb_) return;
    fillArgb_ = argb;
    Invalidate(true);
}

std::uint32_t Panel::GetClrFill() { return fillArgb_; }

void Panel::SetClrBorder(std::uint32_t argb) {
    if (argb == borderArgb_) return;
    borderArgb_ = argb;
    Invalidate(true);
}

std::uint32_t Panel::GetClrBorder() { return borderArgb_; }

void Panel::SetBorderWidth(int width) {
    width = std::max(width, 0);
    if (width == borderWidth_) return;
    borderWidth_ = width;
    Invalidate(true);
}

int Panel::GetBorderWidth() { return borderWidth_; }

bool Panel::SetImage(IZrImage* image) {
    if (image) {
        image_.Attach(image);
    } else {
        image_.Release();
    }
    Invalidate(true);
    return true;
}

bool Panel::LoadImage(const char* path, int option) {
    if (!image_.LoadReplacing(path, option)) return false;
    Invalidate(true);
    return true;
}

bool Panel::SetLayoutAttribute(const char* name, const char* value) {
    std::uint32_t colour = 0;
    std::int32_t width = 0;
    if (!std::strcmp(name, "fill")) return zrwnd::LayoutColour(value, &colour) && (SetClrFill(colour), true);
    if (!std::strcmp(name, "border")) return zrwnd::LayoutColour(value, &colour) && (SetClrBorder(colour), true);
    if (!std::strcmp(name, "borderwidth")) return zrwnd::LayoutInt(value, &width) && (SetBorderWidth(width), true);
    return !std::strcmp(name, "image") && zrwnd::LayoutImageLoaded(LoadImage(value, 0), value);
}
