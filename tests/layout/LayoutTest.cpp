#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/EventRecorder.h"
#include "zrwnd/Layout.h"

// Screens read from XML: every attribute reaches the window it names, and a
// bad file loads nothing.
namespace {

using zrtest::DriverTest;

class Layout : public DriverTest {
protected:
    IWndNameRegistry* names() { return driver()->GetWndNameRegistry(); }
    template <class T>
    T* Find(const char* name) {
        return dynamic_cast<T*>(names()->FindWnd(name));
    }
};

const char kScreen[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<layout>
  <window type="DefWnd" name="lobby" rect="0,0,640,480" style="visible" image="Img/Back.bmp">
    <window type="DefWnd" name="login" rect="40,100,340,330" style="visible draggable" text="登录 Login" font="Sans,16">
      <window type="Edit" name="login.account" rect="20,40,280,64" style="visible" maxlength="16"
              back="#FF102030" textcolor="#E0E0E0" caret="#FFFF0000" selection="#80336699" text="player"/>
      <window type="Edit" name="login.password" rect="20,90,280,114" style="visible" password="true" readonly="1"/>
      <window type="Button" name="login.ok" rect="40,170,110,194" style="visible push" image="Img/BT_Ok.bmp"
              text="确定" textcolor="#FFFFFFFF"/>
      <window type="Button" name="remember" rect="40,200,60,220" style="visible check" check="true"/>
      <window type="Button" name="telecom" rect="40,230,60,250" style="visible radio" group="3"/>
    </window>
    <window type="ScrollBar" name="volume" rect="600,20,616,200" style="visible" range="0,200" pos="40"/>
    <window type="ComboBox" name="server" rect="400,300,560,324" style="visible" listheight="80">
      <item>青龙 Azure Dragon</item>
      <item id="7">白虎 White Tiger</item>
    </window>
    <window type="Menu" name="actions" rect="0,0,120,0" back="#FF202020" selection="#FF404080">
      <item id="1" icon="Img/Copy.bmp">复制</item>
      <item id="2">刷新</item>
    </window>
    <window type="RichEdit" name="news" rect="400,100,620,280" style="visible disabled" back="#FF000000"
            textcolor="#FFFFE080" maxlength="4096"/>
    <window type="DefWnd" rect="0,460,640,480" style="visible"/>
  </window>
</layout>
)";

TEST_F(Layout, EveryAttributeReachesTheWindowItNames) {
    engine->imageFiles = {{"Img/Back.bmp", 640, 480}, {"Img/BT_Ok.bmp", 70, 120}, {"Img/Copy.bmp", 16, 16}};
    ZrString error;
    IWnd* top = zrwnd::LoadLayoutString(kScreen, "screen.xml", nullptr, &error);
    ASSERT_NE(top, nullptr) << error.c_str();
    EXPECT_EQ(top, names()->FindWnd("lobby"));

    IWnd* login = names()->FindWnd("login");
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->GetParent(), top);
    ZrRect r{};
    login->GetWndPosRect(&r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.bottom, 330);
    EXPECT_TRUE(login->IsVisible(false));
    EXPECT_EQ(login->GetStyle() & ZRWS_DRAGGABLE, ZRWS_DRAGGABLE);
    EXPECT_STREQ(login->GetWndText().c_str(), "\xB5\xC7\xC2\xBC Login");  // GBK
    EXPECT_NE(login->GetFont(), engine->GetDefaultFont());

    auto* account = Find<IEdit>("login.account");
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(account->GetMaxLength(), 16);
    EXPECT_EQ(account->GetClrBack(), 0xFF102030u);
    EXPECT_EQ(account->GetClrText(), 0xFFE0E0E0u);
    EXPECT_EQ(account->GetClrCaret(), 0xFFFF0000u);
    EXPECT_EQ(account->GetClrSelection(), 0x80336699u);
    auto* password = Find<IEdit>("login.password");
    EXPECT_TRUE(password->IsPassword());
    EXPECT_TRUE(password->IsReadOnly());
    auto* ok = Find<Button>("login.ok");
    EXPECT_EQ(ok->GetStyle() & ZRBS_PUSH, ZRBS_PUSH);
    EXPECT_EQ(ok->GetClrText(), 0xFFFFFFFFu);
    EXPECT_TRUE(Find<Button>("remember")->IsChecked());
    EXPECT_EQ(Find<Button>("telecom")->GetGroup(), 3);
    auto* volume = Find<IScrollBar>("volume");
    EXPECT_EQ(volume->GetScrollMax(), 200);
    EXPECT_EQ(volume->GetScrollPos(), 40);
    auto* server = Find<IComboBox>("server");
    ASSERT_NE(server, nullptr);
    EXPECT_STREQ(server->GetMenu()->GetItemText(7).c_str(), "\xB0\xD7\xBB\xA2 White Tiger");
    EXPECT_STREQ(server->GetMenu()->GetItemText(0).c_str(), "\xC7\xE0\xC1\xFA Azure Dragon");
    auto* actions = Find<IMenu>("actions");
    EXPECT_NE(actions->GetItemImage(1), nullptr);
    EXPECT_EQ(actions->GetItemImage(2), nullptr);
    EXPECT_EQ(actions->GetClrBack(), 0xFF202020u);
    auto* news = Find<RichEdit>("news");
    EXPECT_FALSE(news->IsEnable(false));
    EXPECT_EQ(news->GetClrText(), 0xFFFFE080u);
    EXPECT_EQ(news->GetMaxLength(), 4096);
    EXPECT_EQ(top->GetChildCount(), 6);  // the unnamed strip has a name of its own

    // A second load of the same names is refused as the registry refuses them,
    // and leaves the first screen as it was.
    EXPECT_EQ(zrwnd::LoadLayoutString(kScreen, "again.xml", nullptr, &error), nullptr);
    EXPECT_STREQ(error.c_str(), "again.xml:3: name: 'lobby' is taken");
    EXPECT_EQ(engine->Log().back(), error.c_str());
    EXPECT_EQ(names()->FindWnd("login"), login);

    // Unloading frees the names for the next load.
    zrwnd::UnloadLayout(top);
    EXPECT_EQ(names()->FindWnd("login"), nullptr);
    IWnd* again = zrwnd::LoadLayoutString(kScreen, "screen.xml", nullptr, &error);
    ASSERT_NE(again, nullptr) << error.c_str();
    zrwnd::UnloadLayout(again);
}

// Each kind of mistake names the file, the line and the attribute, goes to the
// engine's log, and leaves nothing made or registered.
TEST_F(Layout, BadFilesSayWhereAndLoadNothing) {
    engine->imageFiles = {{"Img/Back.bmp", 640, 480}};
    // Windows 300 deep, one a line: the 257th is refused.
    std::string deep = "<layout><window type=\"DefWnd\" name=\"a\">";
    for (int i = 2; i <= 300; ++i) deep += "\n<window type=\"DefWnd\">";
    for (int i = 1; i <= 300; ++i) deep += "</window>";
    deep += "</layout>";
    struct Case {
        const char* xml;
        const char* error;
    } cases[] = {
        {"<layout><window type=\"DefWnd\" name=\"a\">", "bad.xml:1: expected well-formed XML ("},
        {"<screen/>", "bad.xml:1: expected a <layout> element around the windows"},
        {"<layout>\n<window type=\"DefWnd\" name=\"a\"/>\n<window type=\"DefWnd\" name=\"b\"/></layout>",
         "bad.xml:3: expected one <window> element in <layout>"},
        {"<layout><window type=\"DefWnd\" name=\"a\">\n  <window type=\"Gadget\" name=\"b\"/></window></layout>",
         "bad.xml:2: type: unknown type 'Gadget'"},
        {"<layout><window type=\"DefWnd\" name=\"a\">\n<window type=\"DefWnd\" name=\"b\" rect=\"1,2,3\"/></window></layout>",
         "bad.xml:2: rect: four whole numbers 'left,top,right,bottom'"},
        {"<layout><window type=\"DefWnd\" name=\"a\" style=\"visible shiny\"/></layout>",
         "bad.xml:1: style: unknown flag 'shiny' (visible, disabled, draggable, push, check, radio, stayopen)"},
        {"<layout><window type=\"DefWnd\" name=\"a\">\n\n<window type=\"ScrollBar\" name=\"s\" pos=\"x1\"/></window></layout>",
         "bad.xml:3: pos: a whole number"},
        {"<layout><window type=\"DefWnd\" name=\"a\">\n<window type=\"Edit\" name=\"e\" back=\"red\"/></window></layout>",
         "bad.xml:2: back: a colour '#RRGGBB' or '#AARRGGBB'"},
        {"<layout><window type=\"DefWnd\" name=\"a\" image=\"Img/Gone.bmp\"/></layout>",
         "bad.xml:1: image: missing image 'Img/Gone.bmp'"},
        {"<layout><window type=\"DefWnd\" name=\"a\">\n<window type=\"DefWnd\" name=\"a\"/></window></layout>",
         "bad.xml:2: name: 'a' is taken"},
        {"<layout><window type=\"DefWnd\" name=\"a\" maxlength=\"3\"/></layout>",
         "bad.xml:1: maxlength: not a setting of a DefWnd"},
        {"<layout><window type=\"DefWnd\" name=\"a\">\n<panel/></window></layout>",
         "bad.xml:2: unknown element <panel> (window, item, text)"},
        {"<layout><window type=\"DefWnd\" name=\"a\">\n<window type=\"DefWnd\" rect=\"1,2,3,4\" rect=\"0,0,1,1\"/></window></layout>",
         "bad.xml:2: expected well-formed XML (attribute 'rect' given twice)"},
        {"<layout><window type=\"DefWnd\" name=\"a\">\n<window type=\"DefWnd\" name=\"MsgBox\"/></window></layout>",
         "bad.xml:2: name: 'MsgBox' is the library's own"},
        {deep.c_str(), "bad.xml:257: windows nest at most 256 deep"},
    };
    for (const Case& c : cases) {
        engine->logLines.clear();
        ZrString error;
        EXPECT_EQ(zrwnd::LoadLayoutString(c.xml, "bad.xml", nullptr, &error), nullptr) << c.xml;
        EXPECT_EQ(std::string(error.c_str()).rfind(c.error, 0), 0u) << error.c_str();
        ASSERT_FALSE(engine->Log().empty());
        EXPECT_EQ(engine->Log().back(), error.c_str());
        EXPECT_EQ(names()->FindWnd("a"), nullptr) << c.xml;
        EXPECT_EQ(names()->FindWnd("b"), nullptr) << c.xml;
    }
    ZrString error;
    EXPECT_EQ(zrwnd::LoadLayoutFile("/nonexistent/screen.xml", nullptr, &error), nullptr);
    EXPECT_STREQ(error.c_str(), "/nonexistent/screen.xml: cannot be read");
    const std::string directory = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(zrwnd::LoadLayoutFile(directory.c_str(), nullptr, &error), nullptr);
    EXPECT_EQ(std::string(error.c_str()), directory + ": is not a layout file");
    // Unnamed windows on one line each get a name of their own.
    IWnd* two = zrwnd::LoadLayoutString("<layout><window type=\"DefWnd\"><window type=\"DefWnd\"/><window type=\"DefWnd\"/></window></layout>",
                                        "two.xml", nullptr, &error);
    ASSERT_NE(two, nullptr) << error.c_str();
    zrwnd::UnloadLayout(two);
    EXPECT_EQ(zrwnd::LoadLayoutFile(nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(zrwnd::LoadLayoutString(nullptr, "x", nullptr, nullptr), nullptr);
    zrwnd::UnloadLayout(nullptr);

    // From a file, under a parent of the host's.
    const auto path = std::filesystem::temp_directory_path() / ("zrwnd-layout-" + std::to_string(::getpid()) + ".xml");
    std::ofstream(path) << "<layout><window type=\"Button\" name=\"go\" rect=\"1,2,30,40\" style=\"visible\"/></layout>";
    IWnd parent;
    ZrRect all{0, 0, 100, 100};
    parent.Create(all, nullptr, ZRWS_VISIBLE);
    IWnd* go = zrwnd::LoadLayoutFile(path.c_str(), &parent, &error);
    ASSERT_NE(go, nullptr) << error.c_str();
    EXPECT_EQ(go->GetParent(), &parent);
    zrwnd::UnloadLayout(go);
    EXPECT_EQ(parent.GetChildCount(), 0);
    std::filesystem::remove(path);
}

// The format's reference carries a complete example; it loads as written.
TEST_F(Layout, TheDocumentedExampleLoads) {
    std::ifstream in(std::string(ZRWND_SOURCE_DIR) + "/docs/layout.md");
    const std::string doc((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t begin = doc.find("```xml\n");
    ASSERT_NE(begin, std::string::npos);
    const size_t end = doc.find("```", begin + 7);
    const std::string xml = doc.substr(begin + 7, end - begin - 7);
    engine->imageFiles = {{"EngineRes\\Img\\BT_Ok.bmp", 70, 120}};
    ZrString error;
    IWnd* top = zrwnd::LoadLayoutString(xml.c_str(), "docs/layout.md", nullptr, &error);
    ASSERT_NE(top, nullptr) << error.c_str();
    EXPECT_NE(names()->FindWnd("login.remember"), nullptr);
    zrwnd::UnloadLayout(top);
}

// A host's own window class, registered by type, takes settings of its own;
// the combo box's field and button, long texts and centring come from the file.
class Gauge : public IWnd, public zrwnd::ILayoutTarget {
public:
    bool SetLayoutAttribute(const char* name, const char* value) override {
        if (std::string(name) != "level") return false;
        level = std::atoi(value);
        return true;
    }
    int level = 0;
};

class GaugeFactory : public IWndFactory {
public:
    GaugeFactory() : IWndFactory("Gauge") {}
    IWnd* CreateWnd(ZrString) override { return new Gauge; }
    bool DestroyWnd(IWnd* wnd) override {
        auto* gauge = dynamic_cast<Gauge*>(wnd);
        delete gauge;
        return gauge != nullptr;
    }
};

TEST_F(Layout, HostTypesTakeTheirOwnSettingsAndControlsTheirParts) {
    driver()->GetWndTypeRegistry()->AddFactory(new GaugeFactory);
    engine->imageFiles = {{"Img/Arrow.tga", 16, 16}};
    const char* xml = R"(<layout><window type="DefWnd" name="top" rect="0,0,400,300">
      <window type="Gauge" name="gauge" rect="0,0,100,20" level="7" fontborder="#FF000000" font=",20,700"/>
      <window type="Gauge" name="boxed" rect="0,0,100,50" center="true"/>
      <window type="ComboBox" name="combo" rect="10,10,150,34" listheight="60" buttonimage="Img/Arrow.tga"
              editback="#FF1E2A44" edittext="青龙"><item>青龙</item></window>
      <window type="RichEdit" name="long"><text>one
two</text></window>
    </window></layout>)";
    ZrString error;
    IWnd* top = zrwnd::LoadLayoutString(xml, "host.xml", nullptr, &error);
    ASSERT_NE(top, nullptr) << error.c_str();
    auto* gauge = Find<Gauge>("gauge");
    EXPECT_EQ(gauge->level, 7);
    EXPECT_EQ(gauge->GetClrFontBorder(), 0xFF000000u);
    ZrRect r{};
    Find<Gauge>("boxed")->GetWndPosRect(&r);
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.top, 125);
    auto* combo = Find<IComboBox>("combo");
    EXPECT_EQ(combo->GetEdit()->GetClrBack(), 0xFF1E2A44u);
    EXPECT_STREQ(combo->GetEdit()->GetWndText().c_str(), "\xC7\xE0\xC1\xFA");
    EXPECT_STREQ(Find<RichEdit>("long")->GetWndText().c_str(), "one\ntwo");
    zrwnd::UnloadLayout(top);

    // What the class does not take is refused like any unknown setting.
    EXPECT_EQ(zrwnd::LoadLayoutString(R"(<layout><window type="Gauge" name="g" colour="red"/></layout>)", "host.xml",
                                      nullptr, &error),
              nullptr);
    EXPECT_STREQ(error.c_str(), "host.xml:1: colour: not a setting of a Gauge");
    EXPECT_EQ(engine->Log().back(), error.c_str());
    for (const char* font : {"a,b,c,d", "0"}) {
        const std::string xml = std::string(R"(<layout><window type="DefWnd" name="g" font=")") + font + "\"/></layout>";
        EXPECT_EQ(zrwnd::LoadLayoutString(xml.c_str(), "host.xml", nullptr, &error), nullptr);
        EXPECT_STREQ(error.c_str(), "host.xml:1: font: 'SIZE', 'FACE,SIZE' or 'FACE,SIZE,WEIGHT' in pixels");
    }
}

}  // namespace
