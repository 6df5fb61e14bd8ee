#pragma once

#include <cstdint>

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"

// A rectangle that holds other windows: a fill colour, a border of a colour
// and width drawn inside its edge, and an image tiled over the fill when one
// is set. Unlike DefWnd it keeps its size whatever the image's. A press on it
// activates it, as on any window, so a draggable panel moves with its
// children.
class ZRWND_API Panel : public IWnd, public zrwnd::ILayoutTarget {
public:
    Panel();
    ~Panel() override;

    void RenderSelf() override;

    // The setters redraw on a change. A border of width 0 (the least) draws
    // nothing; a transparent colour draws nothing either.
    virtual void SetClrFill(std::uint32_t argb);
    virtual std::uint32_t GetClrFill();
    virtual void SetClrBorder(std::uint32_t argb);
    virtual std::uint32_t GetClrBorder();
    virtual void SetBorderWidth(int width);
    virtual int GetBorderWidth();
    // Attaches an image the caller keeps owning; null takes the image away.
    virtual bool SetImage(IZrImage* image);
    // Loads an image the panel owns; a failed load keeps the one it had.
    virtual bool LoadImage(const char* path, int option);
    // Layout attributes of its own: fill, border, borderwidth, image.
    bool SetLayoutAttribute(const char* name, const char* value) override;

private:
    std::uint32_t fillArgb_ = 0xE0202838;
    std::uint32_t borderArgb_ = 0xFF6A7390;
    int borderWidth_ = 1;
    zrwnd::ImageStrip image_;
};
