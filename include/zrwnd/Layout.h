#pragma once

#include <cstdint>

#include "zrwnd/Export.h"
#include "zrwnd/ZrString.h"

class IWnd;
class IZrImage;

// Screens described in XML, made through the type and name registries: one
// <window> element per window, nested as the windows are. docs/layout.md has
// the format with a complete example. The library reads layouts where it was
// built with pugixml (Linux); elsewhere the loader answers null and says so.
//
//   IWnd* lobby = zrwnd::LoadLayoutFile("ui/lobby.xml", nullptr, &error);
//   auto* ok = static_cast<Button*>(drv->GetWndNameRegistry()->FindWnd("login.ok"));
//   ok->SubscribeEvent(ZrEventClicked, ...);
//
// Texts are UTF-8 in the file and GBK in the windows. Image paths go to the
// engine as written (relative to its resource root).
namespace zrwnd {

// A window class takes settings of its own from a layout, as the stock
// controls do: the loader reads what every window has (type, name, rect,
// style, text, font, fontborder, center, tooltip, a <text> element) and offers every
// other attribute here. The load fails when this answers false: "not a
// setting of a TYPE", or what RefuseLayoutValue said before answering.
// Texts arrive as written (UTF-8).
class ILayoutTarget {
public:
    virtual bool SetLayoutAttribute(const char* name, const char* value) = 0;
    // One <item> element of the window, in file order: its id (one more than
    // the previous item's when the file gives none), its text as written and
    // its icon (loaded by the loader and released by UnloadLayout; null
    // without one). False: the window takes no items.
    virtual bool AddLayoutItem(std::int32_t id, const char* text, IZrImage* icon) {
        (void)id, (void)text, (void)icon;
        return false;
    }

protected:
    ~ILayoutTarget() = default;
};

// Says why a target refuses the value of an attribute it takes, in the
// loader's words ("a whole number", "missing image 'x.bmp'"); called just
// before SetLayoutAttribute answers false, for the loader's error.
ZRWND_API void RefuseLayoutValue(const char* why);

// Read layout values as the loader does, for a target's own settings: a
// colour "#AARRGGBB" or "#RRGGBB" (opaque), a whole number, `count` whole
// numbers separated by commas, and true/false/1/0. False for anything else.
ZRWND_API bool ParseLayoutColour(const char* text, std::uint32_t* argb);
ZRWND_API bool ParseLayoutInt(const char* text, std::int32_t* out);
ZRWND_API bool ParseLayoutInts(const char* text, std::int32_t* out, int count);
ZRWND_API bool ParseLayoutBool(const char* text, bool* out);

// The same, saying what was expected when the value does not read.
inline bool LayoutInt(const char* text, std::int32_t* out) {
    return ParseLayoutInt(text, out) || (RefuseLayoutValue("a whole number"), false);
}
inline bool LayoutBool(const char* text, bool* out) {
    return ParseLayoutBool(text, out) || (RefuseLayoutValue("true or false"), false);
}
// Two whole numbers "min,max" with min not above max.
inline bool LayoutRange(const char* text, std::int32_t* minMax) {
    return (ParseLayoutInts(text, minMax, 2) && minMax[0] <= minMax[1]) ||
           (RefuseLayoutValue("two whole numbers 'min,max', min not above max"), false);
}
inline bool LayoutColour(const char* text, std::uint32_t* argb) {
    return ParseLayoutColour(text, argb) || (RefuseLayoutValue("a colour '#RRGGBB' or '#AARRGGBB'"), false);
}
// For an image attribute: whether the image loaded, saying which is missing.
ZRWND_API bool LayoutImageLoaded(bool loaded, const char* path);

// Loads the layout file under `parent` (null: the top window has no parent;
// the host roots it). Answers the top window, or null: then nothing of the
// layout is left made or registered, and *error (when given) and the engine's
// log say "FILE:LINE: what" (a malformed file, an unknown type, a name
// already taken, a bad rectangle, flag, number or colour, a missing image).
ZRWND_API IWnd* LoadLayoutFile(const char* path, IWnd* parent, ZrString* error);
// The same for a layout held in memory; `source` names it in errors.
ZRWND_API IWnd* LoadLayoutString(const char* xml, const char* source, IWnd* parent, ZrString* error);
// Destroys and deletes a loaded layout's windows, top first, and releases the
// images it loaded for menus; their names are free again. Null does nothing.
ZRWND_API void UnloadLayout(IWnd* top);

}  // namespace zrwnd
