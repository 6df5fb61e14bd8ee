#pragma once

#include "zrwnd/controls/ControlKit.h"
#include "zrwnd/IWnd.h"
#include "zrwnd/Layout.h"

// The plain stock window: it shows one image as its face, sized to the image,
// and otherwise draws nothing of its own (not even its text).
class ZRWND_API DefWnd : public IWnd, public zrwnd::ILayoutTarget {
public:
    DefWnd();
    ~DefWnd() override;

    void RenderSelf() override;

    // Attaches an image the caller keeps owning and sizes the window to it,
    // keeping its position. Null answers false.
    virtual bool SetImage(IZrImage* image);
    // Loads the face into an image the window owns (an owned one is reused)
    // and sizes the window to it. A failed load keeps the window's size and
    // draws nothing until a later load succeeds.
    virtual bool LoadImage(const char* path, int option);
    // Layout attributes of its own: image.
    bool SetLayoutAttribute(const char* name, const char* value) override;

private:
    void SizeToImage();

    zrwnd::ImageStrip image_;
};
