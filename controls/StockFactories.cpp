#include <new>
#include <typeinfo>

#include "zrwnd/controls/Button.h"
#include "zrwnd/controls/ComboBox.h"
#include "zrwnd/controls/DefWnd.h"
#include "zrwnd/controls/Edit.h"
#include "zrwnd/controls/Label.h"
#include "zrwnd/controls/ListBox.h"
#include "zrwnd/controls/Menu.h"
#include "zrwnd/controls/Panel.h"
#include "zrwnd/controls/ProgressBar.h"
#include "zrwnd/controls/Slider.h"
#include "controls/MsgBoxRunner.h"
#include "zrwnd/controls/RichEdit.h"
#include "controls/ScrollBarImages.h"
#include "zrwnd/IWndFactory.h"
#include "zrwnd/controls/MessageBox.h"

namespace {

// A factory that makes one stock control with its default constructor. The
// caller names the window and creates it.
template <class Control>
class StockFactory final : public IWndFactory {
public:
    explicit StockFactory(const char* type) : IWndFactory(type) {}
    IWnd* CreateWnd(ZrString) override { return new (std::nothrow) Control; }
};

using DefWndFactory = StockFactory<DefWnd>;
using ButtonFactory = StockFactory<Button>;
using EditFactory = StockFactory<Edit>;
using ScrollBarFactory = StockFactory<ScrollBar>;
using RichEditFactory = StockFactory<RichEdit>;
using MenuFactory = StockFactory<IMenu>;
using ComboBoxFactory = StockFactory<ComboBox>;
using LabelFactory = StockFactory<Label>;
using PanelFactory = StockFactory<Panel>;
using ProgressBarFactory = StockFactory<ProgressBar>;
using SliderFactory = StockFactory<Slider>;
using ListBoxFactory = StockFactory<ListBox>;

// Registers a new factory; one the registry refuses (the type is taken) is
// not kept.
template <class Factory>
void Register(WndTypeRegistry* registry, const char* type) {
    auto* factory = new (std::nothrow) Factory(type);
    if (!factory) return;
    if (registry->GetFactory(type) || !registry->AddFactory(factory)) delete factory;
}

// Registers a factory for each stock control, in the fixed order of the stock
// types; the registry's answers are not checked.
void RegisterStockFactories(WndTypeRegistry* registry) {
    if (!registry) return;
    // The fixed order of the stock types.
    Register<DefWndFactory>(registry, "DefWnd");
    Register<ButtonFactory>(registry, "Button");
    Register<EditFactory>(registry, "Edit");
    Register<ScrollBarFactory>(registry, "ScrollBar");
    Register<RichEditFactory>(registry, "RichEdit");
    Register<MenuFactory>(registry, "Menu");
    Register<ComboBoxFactory>(registry, "ComboBox");
    // The toolkit's own additions come after the fixed ones.
    Register<LabelFactory>(registry, "Label");
    Register<PanelFactory>(registry, "Panel");
    Register<ProgressBarFactory>(registry, "ProgressBar");
    Register<SliderFactory>(registry, "Slider");
    Register<ListBoxFactory>(registry, "ListBox");
}

zrwnd::IMessageBox* MakeMessageBox() { return new (std::nothrow) zrwnd::MsgBoxRunner; }

// The library's own stock controls are what the driver installs, from the
// moment the library is loaded. None of them changes what the pass reads of a
// window (visibility, rectangle, modality, render events): the pass asks
// windows of exactly these classes without the virtual table.
[[maybe_unused]] const bool g_installed = [] {
    for (const std::type_info* type :
         {&typeid(DefWnd), &typeid(Button), &typeid(Edit), &typeid(ScrollBar), &typeid(ScrollThumb), &typeid(RichEdit),
          &typeid(IMenu), &typeid(ComboBox), &typeid(Label), &typeid(Panel), &typeid(ProgressBar), &typeid(Slider),
          &typeid(ListBox)}) {
        zrwnd::DeclareKeepsWindowPass(*type);
    }
    zrwnd::StockHooks hooks;
    hooks.registerFactories = &RegisterStockFactories;
    hooks.makeMessageBox = &MakeMessageBox;
    zrwnd::SetStockHooks(hooks);
    return true;
}();

}  // namespace
