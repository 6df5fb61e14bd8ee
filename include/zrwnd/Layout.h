#pragma once

#include <cstdint>

#include "zrwnd/Export.h"
#include "zrwnd/ZrString.h"

class IWnd;

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

// A host's own window class takes settings of its own from a layout: an
// attribute the loader does not know for the window is offered here, and the
// load fails when this answers false. Texts arrive as written (UTF-8).
class ILayoutTarget {
public:
    virtual bool SetLayoutAttribute(const char* name, const char* value) = 0;

protected:
    ~ILayoutTarget() = default;
};

// Reads a layout colour, "#AARRGGBB" or "#RRGGBB" (opaque), as the loader
// does: for a host class's own colour settings. False for anything else.
ZRWND_API bool ParseLayoutColour(const char* text, std::uint32_t* argb);

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
