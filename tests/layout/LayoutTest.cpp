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
      <window type="Edit" name="login.password" rect="20,90,280,114" style="visible" password="true" readonly="1"
              tabstop="false"/>
      <window type="Button" name="login.ok" rect="40,170,110,194" style="visible push" image="Img/BT_Ok.bmp"
              text="确定" textcolor="#FFFFFFFF" tabstop="true"/>
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
    EXPECT_TRUE(zrwnd::IsTabStop(ok));
    EXPECT_FALSE(zrwnd::IsTabStop(password));
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
    // Each class says what it expected of a value it takes.
    const char* refused[][2] = {
        {R"(type="DefWnd" font="a,b,c,d")", "font: 'SIZE', 'FACE,SIZE' or 'FACE,SIZE,WEIGHT' in pixels"},
        {R"(type="DefWnd" font="0")", "font: 'SIZE', 'FACE,SIZE' or 'FACE,SIZE,WEIGHT' in pixels"},
        {R"(type="Button" group="x")", "group: a whole number"},
        {R"(type="Edit" maxlength="-1")", "maxlength: a whole number of bytes"},
        {R"(type="ScrollBar" range="1")", "range: two whole numbers 'min,max'"},
        {R"(type="Menu" image="Img/None.bmp")", "image: missing image 'Img/None.bmp'"},
        {R"(type="Edit" group="1")", "group: not a setting of a Edit"},
    };
    for (const auto& row : refused) {
        const std::string xml = std::string(R"(<layout><window name="g" )") + row[0] + "/></layout>";
        EXPECT_EQ(zrwnd::LoadLayoutString(xml.c_str(), "host.xml", nullptr, &error), nullptr) << row[0];
        EXPECT_NE(std::string(error.c_str()).find(row[1]), std::string::npos) << error.c_str();
    }
    EXPECT_EQ(zrwnd::LoadLayoutString(R"(<layout><window type="DefWnd" name="g"><item>x</item></window></layout>)",
                                      "host.xml", nullptr, &error),
              nullptr);
    EXPECT_STREQ(error.c_str(), "host.xml:1: items only in a window that lists them (Menu, ComboBox, ListBox)");
}

}  // namespace
