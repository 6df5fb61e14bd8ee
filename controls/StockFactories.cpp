#include "controls/StockFactories.h"

#include <new>

#include "controls/Button.h"
#include "controls/ComboBox.h"
#include "controls/DefWnd.h"
#include "controls/Edit.h"
#include "controls/Menu.h"
#include "controls/RichEdit.h"
#include "controls/ScrollBar.h"
#include "zrwnd/IWndFactory.h"

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

// Registers a new factory; one the registry refuses (the type is taken) is
// not kept.
template <class Factory>
void Register(WndTypeRegistry* registry, const char* type) {
    auto* factory = new (std::nothrow) Factory(type);
    if (!factory) return;
    if (registry->GetFactory(type) || !registry->AddFactory(factory)) delete factory;
}

}  // namespace

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
}
