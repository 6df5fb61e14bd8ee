#include "drv/StockFactories.h"

#include "zrwnd/IWndFactory.h"

void RegisterStockFactories(WndTypeRegistry* registry) {
    if (!registry) return;
    // Each stock control adds its factory here, in the order above, as it lands.
}
