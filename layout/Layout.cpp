#include "zrwnd/Layout.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "wnd/WndHost.h"
#include "zrwnd/controls/Button.h"
#include "zrwnd/controls/ComboBox.h"
#include "zrwnd/IWndFactory.h"
#include "zrwnd/IWndNameRegistry.h"
#include "zrwnd/controls/Menu.h"
#include "zrwnd/controls/MessageBox.h"
#include "zrwnd/controls/RichEdit.h"
#include "zrwnd/Text.h"

#ifdef ZRWND_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace {

// Why the window's class refused the attribute being offered; per thread, as
// a load runs on the thread that asked for it.
std::string& Refusal() {
    thread_local std::string why;
    return why;
}

// What one load made, so that a failed load and UnloadLayout take it all back.
struct Loaded {
    std::vector<IWnd*> windows;  // in the order they were made, top first
    std::vector<IZrImage*> icons;
};

std::map<IWnd*, Loaded>& LoadedLayouts() {
    static std::map<IWnd*, Loaded> loaded;
    return loaded;
}

void TakeBack(Loaded& loaded) {
    IWndNameRegistry* names = zrwnd::Driver()->GetWndNameRegistry();
    WndTypeRegistry* types = zrwnd::Driver()->GetWndTypeRegistry();
    // Children first, so that each window is still whole when it goes.
    for (auto it = loaded.windows.rbegin(); it != loaded.windows.rend(); ++it) {
        IWnd* wnd = *it;
        const ZrString type = wnd->GetType();
        if (!names->DestroyWndByPtr(wnd)) wnd->Destroy();
        IWndFactory* factory = types->GetFactory(type);
        if (!factory || !factory->DestroyWnd(wnd)) delete wnd;
    }
    for (IZrImage* icon : loaded.icons) icon->Release();
    loaded = Loaded{};
}

void Report(const std::string& message, ZrString* error) {
    if (error) *error = message.c_str();
    if (IZr2DEngine* engine = zrwnd::Engine()) {
        if (IEngineLog* log = engine->GetLog()) log->Print("%s", message.c_str());
    }
}

#ifdef ZRWND_HAVE_PUGIXML

// How deep windows may nest in a layout: deeper, the load would run out of
// stack long before a game needed such a screen.
constexpr int kMaxDepth = 256;

// The names the library gives its own windows in the name registry: a layout
// window of such a name would stand in for them.
bool IsLibraryName(const std::string& name) {
    for (const char* kept : {zrwnd::ZrMsgBoxName, zrwnd::ZrMsgBoxOkName, zrwnd::ZrMsgBoxCancelName,
                             ZrRichEditScrollBarName}) {
        if (name == kept) return true;
    }
    return false;
}

// The first element, in document order, that has an attribute twice (which
// makes the file malformed XML, though the parser takes it), or an empty
// node. Walked without recursion: the document may nest arbitrarily deep.
pugi::xml_node RepeatedAttribute(const pugi::xml_node& top, const char** name) {
    std::unordered_set<std::string_view> seen;
    pugi::xml_node node = top;
    while (node) {
        if (node.type() == pugi::node_element) {
            seen.clear();
            for (pugi::xml_attribute a : node.attributes()) {
                if (!seen.insert(a.name()).second) {
                    *name = a.name();
                    return node;
                }
            }
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != top && !node.next_sibling()) node = node.parent();
        if (!node || node == top) break;
        node = node.next_sibling();
    }
    return pugi::xml_node();
}

// A load under way: the source's text (for line numbers) and what was made.
class Loader {
public:
    Loader(const std::string& source, const std::string& text) : source_(source), text_(text) {
        for (size_t i = text_.find('\n'); i != std::string::npos; i = text_.find('\n', i + 1)) lineEnds_.push_back(i);
    }

    IWnd* Load(IWnd* parent, ZrString* error) {
        pugi::xml_document doc;
        const pugi::xml_parse_result parsed = doc.load_buffer(text_.data(), text_.size(), pugi::parse_default, pugi::encoding_utf8);
        if (!parsed) return Fail(parsed.offset, std::string("well-formed XML (") + parsed.description() + ")", error);
        const char* repeated = nullptr;
        if (pugi::xml_node node = RepeatedAttribute(doc, &repeated)) {
            return Fail(node.offset_debug(), "well-formed XML (attribute '" + std::string(repeated).substr(0, 24) + "' given twice)", error);
        }
        const pugi::xml_node layout = doc.child("layout");
        if (!layout) return Fail(0, "a <layout> element around the windows", error);
        pugi::xml_node top;
        for (pugi::xml_node node : layout.children()) {
            if (node.type() != pugi::node_element) continue;
            if (std::strcmp(node.name(), "window") != 0 || top) {
                return Fail(node.offset_debug(), "one <window> element in <layout>", error);
            }
            top = node;
        }
        if (!top) return Fail(layout.offset_debug(), "one <window> element in <layout>", error);
        IWnd* made = Make(top, parent, 1);
        if (!made) {
            TakeBack(loaded_);
            Report(failure_, error);
            return nullptr;
        }
        LoadedLayouts()[made] = loaded_;
        return made;
    }

private:
    // Looked up among the line ends counted once: a file of many windows is
    // not counted through once per window.
    int LineOf(std::ptrdiff_t offset) const {
        if (offset < 0) return 1;
        const auto before = std::lower_bound(lineEnds_.begin(), lineEnds_.end(), static_cast<size_t>(offset));
        return 1 + static_cast<int>(before - lineEnds_.begin());
    }

    IWnd* Fail(std::ptrdiff_t offset, const std::string& expected, ZrString* error) {
        Report(source_ + ":" + std::to_string(LineOf(offset)) + ": expected " + expected, error);
        return nullptr;
    }

    bool Refuse(const pugi::xml_node& node, const char* attribute, const std::string& what) {
        Stop(node, attribute, what);
        return false;
    }

    // Records why the load stops; answers null so that callers can return it.
    IWnd* Stop(const pugi::xml_node& node, const char* attribute, const std::string& what) {
        failure_ = source_ + ":" + std::to_string(LineOf(node.offset_debug())) + ": " +
                   (attribute ? std::string(attribute) + ": " : std::string()) + what;
        return nullptr;
    }

    bool Style(const pugi::xml_node& node, std::uint32_t* style) {
        std::istringstream words(node.attribute("style").value());
        for (std::string word; words >> word;) {
            if (word == "visible") *style |= ZRWS_VISIBLE;
            else if (word == "disabled") *style |= ZRWS_DISABLED;
            else if (word == "draggable") *style |= ZRWS_DRAGGABLE;
            else if (word == "push") *style |= ZRBS_PUSH;
            else if (word == "check") *style |= ZRBS_CHECK;
            else if (word == "radio") *style |= ZRBS_RADIO;
            else if (word == "stayopen") *style |= ZRMS_STAYOPEN;
            else return Refuse(node, "style", "unknown flag '" + word.substr(0, 24) + "' (visible, disabled, draggable, push, check, radio, stayopen)");
        }
        return true;
    }

    IWnd* Make(const pugi::xml_node& node, IWnd* parent, int depth) {
        if (depth > kMaxDepth) return Stop(node, nullptr, "windows nest at most " + std::to_string(kMaxDepth) + " deep");
        const std::string type = node.attribute("type").value();
        if (type.empty()) return Stop(node, "type", "missing");
        std::string name = node.attribute("name").value();
        if (IsLibraryName(name)) return Stop(node, "name", "'" + name + "' is the library's own");
        // A window the host never looks up still needs a name of its own:
        // its line, and its place among the unnamed windows of that line.
        if (name.empty()) {
            const int line = LineOf(node.offset_debug());
            const int nth = ++unnamedOnLine_[line];
            name = "~" + source_ + ":" + std::to_string(line) + (nth > 1 ? "#" + std::to_string(nth) : std::string());
        }
        int r[4] = {0, 0, 0, 0};
        if (node.attribute("rect") && !zrwnd::ParseLayoutInts(node.attribute("rect").value(), r, 4)) {
            return Stop(node, "rect", "four whole numbers 'left,top,right,bottom'");
        }
        std::uint32_t style = 0;
        if (!Style(node, &style)) return nullptr;
        if (!zrwnd::Driver()->GetWndTypeRegistry()->IsFactoryPresent(type.c_str())) {
            return Stop(node, "type", "unknown type '" + type.substr(0, 32) + "'");
        }
        // The registry refuses a taken name (and logs it); asked first only
        // when it refuses, to say which of the two it was.
        IWndNameRegistry* names = zrwnd::Driver()->GetWndNameRegistry();
        IWnd* wnd = names->CreateNamedWnd(type.c_str(), name.c_str());
        if (!wnd && names->IsNameRegistered(name.c_str())) return Stop(node, "name", "'" + name + "' is taken");
        if (!wnd) return Stop(node, "type", "'" + type + "' made no window");
        loaded_.windows.push_back(wnd);
        ZrRect rect{r[0], r[1], r[2], r[3]};
        if (auto* combo = dynamic_cast<IComboBox*>(wnd)) {
            int listHeight = 100;
            if (node.attribute("listheight") && !zrwnd::ParseLayoutInt(node.attribute("listheight").value(), &listHeight)) {
                return Stop(node, "listheight", "a whole number of pixels");
            }
            combo->Create(rect, parent, style, listHeight);
        } else {
            wnd->Create(rect, parent, style);
        }
        if (!Settings(node, wnd)) return nullptr;
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element || !std::strcmp(child.name(), "item") || !std::strcmp(child.name(), "text")) continue;
            if (std::strcmp(child.name(), "window") != 0) {
                return Stop(child, nullptr, "unknown element <" + std::string(child.name()).substr(0, 24) + "> (window, item, text)");
            }
            if (!Make(child, wnd, depth + 1)) return nullptr;
        }
        return wnd;
    }

    // The attributes every window takes; the others go to the window's class.
    bool Settings(const pugi::xml_node& node, IWnd* wnd) {
        auto* target = dynamic_cast<zrwnd::ILayoutTarget*>(wnd);
        bool centre = false;
        for (pugi::xml_attribute a : node.attributes()) {
            const std::string key = a.name();
            const char* value = a.value();
            std::uint32_t colour = 0;
            if (key == "type" || key == "name" || key == "rect" || key == "style" || key == "listheight") continue;
            if (key == "text") {
                wnd->SetWndText(zrwnd::text::FromUtf8(value).c_str());
            } else if (key == "font") {
                if (!Font(node, value, wnd)) return false;
            } else if (key == "fontborder") {
                if (!zrwnd::ParseLayoutColour(value, &colour)) return Refuse(node, "fontborder", "a colour '#RRGGBB' or '#AARRGGBB'");
                wnd->SetClrFontBorder(colour);
            } else if (key == "tooltip") {
                zrwnd::SetTooltip(wnd, zrwnd::text::FromUtf8(value).c_str());
            } else if (key == "tabstop") {
                bool stop = false;
                if (!zrwnd::ParseLayoutBool(value, &stop)) return Refuse(node, "tabstop", "true or false");
                // Windows are made in the file's order: so is the tab order.
                zrwnd::SetTabStop(wnd, stop);
            } else if (key == "center") {
                if (!zrwnd::ParseLayoutBool(value, &centre)) return Refuse(node, "center", "true or false");
            } else if (!Offer(node, target, key.c_str(), value)) {
                return false;
            }
        }
        // A <text> element holds a long text with its line breaks.
        if (pugi::xml_node text = node.child("text")) wnd->SetWndText(zrwnd::text::FromUtf8(text.child_value()).c_str());
        if (centre) wnd->CenterWnd();
        int next = 0;
        for (pugi::xml_node item = node.child("item"); item; item = item.next_sibling("item")) {
            int id = next;
            if (item.attribute("id") && !zrwnd::ParseLayoutInt(item.attribute("id").value(), &id)) {
                return Refuse(item, "id", "a whole number");
            }
            next = id + 1;
            IZrImage* icon = nullptr;
            if (item.attribute("icon")) {
                IDrvRender* renderer = zrwnd::Renderer();
                icon = renderer ? renderer->CreateImage() : nullptr;
                if (!icon || !icon->Load(item.attribute("icon").value(), 0)) {
                    if (icon) icon->Release();
                    return Refuse(item, "icon", std::string("missing image '") + item.attribute("icon").value() + "'");
                }
                loaded_.icons.push_back(icon);
            }
            if (!target || !target->AddLayoutItem(id, item.child_value(), icon)) {
                return Refuse(item, nullptr, "items only in a window that lists them (Menu, ComboBox, ListBox)");
            }
        }
        return true;
    }

    // "SIZE", "FACE,SIZE" or "FACE,SIZE,WEIGHT": a font of the engine at that
    // pixel height (the face may be empty).
    bool Font(const pugi::xml_node& node, const char* value, IWnd* wnd) {
        std::vector<std::string> parts(1);
        for (const char* c = value; *c; ++c) {
            if (*c == ',') {
                parts.emplace_back();
            } else {
                parts.back().push_back(*c);
            }
        }
        int size = 0;
        int weight = 0;
        const std::string face = parts.size() > 1 ? parts[0] : std::string();
        if (parts.size() > 3 || !zrwnd::ParseLayoutInt((parts.size() > 1 ? parts[1] : parts[0]).c_str(), &size) ||
            size <= 0 || size > 512 ||
            (parts.size() == 3 && (!zrwnd::ParseLayoutInt(parts[2].c_str(), &weight) || weight < 0 || weight > 1000))) {
            return Refuse(node, "font", "'SIZE', 'FACE,SIZE' or 'FACE,SIZE,WEIGHT' in pixels");
        }
        LOGFONTA font{};
        font.lfHeight = -size;
        font.lfWeight = weight;
        std::strncpy(font.lfFaceName, face.c_str(), sizeof font.lfFaceName - 1);
        wnd->SetFont(&font, 0, 0);
        return true;
    }

    // Offers an attribute to the window's class; a refusal says what the
    // class expected, or that the class has no such setting.
    bool Offer(const pugi::xml_node& node, zrwnd::ILayoutTarget* target, const char* key, const char* value) {
        Refusal().clear();
        if (target && target->SetLayoutAttribute(key, value)) return true;
        if (!Refusal().empty()) return Refuse(node, key, Refusal());
        return Refuse(node, key, "not a setting of a " + std::string(node.attribute("type").value()));
    }

    std::string source_;
    std::string text_;
    // Where each line ends, in order.
    std::vector<size_t> lineEnds_;
    std::map<int, int> unnamedOnLine_;
    Loaded loaded_;
    std::string failure_;
};

#endif

}  // namespace

namespace zrwnd {

bool ParseLayoutColour(const char* text, std::uint32_t* argb) {
    if (!text || !argb) return false;
    const size_t n = std::strlen(text);
    if (text[0] != '#' || (n != 7 && n != 9)) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text + 1, &end, 16);
    if (*end != '\0') return false;
    *argb = static_cast<std::uint32_t>(n == 7 ? (0xFF000000ul | v) : v);
    return true;
}

bool ParseLayoutInt(const char* text, std::int32_t* out) {
    if (!text || !*text || !out) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
    *out = static_cast<std::int32_t>(v);
    return true;
}

bool ParseLayoutInts(const char* text, std::int32_t* out, int count) {
    if (!text || !out) return false;
    std::string rest = text;
    for (int i = 0; i < count; ++i) {
        const size_t comma = rest.find(',');
        if ((comma == std::string::npos) != (i == count - 1)) return false;
        std::string part = rest.substr(0, comma);
        while (!part.empty() && part.front() == ' ') part.erase(part.begin());
        while (!part.empty() && part.back() == ' ') part.pop_back();
        if (!ParseLayoutInt(part.c_str(), &out[i])) return false;
        rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
    }
    return true;
}

bool ParseLayoutBool(const char* text, bool* out) {
    if (!text || !out) return false;
    if (!std::strcmp(text, "true") || !std::strcmp(text, "1")) {
        *out = true;
    } else if (!std::strcmp(text, "false") || !std::strcmp(text, "0")) {
        *out = false;
    } else {
        return false;
    }
    return true;
}

void RefuseLayoutValue(const char* why) { Refusal() = why ? why : ""; }

bool LayoutImageLoaded(bool loaded, const char* path) {
    if (!loaded) RefuseLayoutValue((std::string("missing image '") + (path ? path : "") + "'").c_str());
    return loaded;
}

IWnd* LoadLayoutString(const char* xml, const char* source, IWnd* parent, ZrString* error) {
    const std::string name = source && *source ? source : "layout";
    if (!xml) {
        Report(name + ":1: expected a layout, found none", error);
        return nullptr;
    }
#ifdef ZRWND_HAVE_PUGIXML
    return Loader(name, xml).Load(parent, error);
#else
    (void)parent;
    Report(name + ": this build of the library reads no layouts (it was built without pugixml)", error);
    return nullptr;
#endif
}

IWnd* LoadLayoutFile(const char* path, IWnd* parent, ZrString* error) {
    if (!path || !*path) {
        Report("layout: expected a file name", error);
        return nullptr;
    }
    // Only a regular file is opened: a directory, a device or a pipe is not.
    std::error_code status;
    if (std::filesystem::exists(path, status) && !std::filesystem::is_regular_file(path, status)) {
        Report(std::string(path) + ": is not a layout file", error);
        return nullptr;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Report(std::string(path) + ": cannot be read", error);
        return nullptr;
    }
    std::stringstream all;
    all << in.rdbuf();
    return LoadLayoutString(all.str().c_str(), path, parent, error);
}

void UnloadLayout(IWnd* top) {
    auto& loaded = LoadedLayouts();
    const auto it = loaded.find(top);
    if (it == loaded.end()) return;
    Loaded taken = std::move(it->second);
    loaded.erase(it);
    TakeBack(taken);
}

}  // namespace zrwnd
