#pragma once

class WndTypeRegistry;

// Registers a factory for each stock control, in the order "DefWnd",
// "Button", "Edit", "ScrollBar", "RichEdit", "Menu", "ComboBox"; the
// registry's answers are not checked.
void RegisterStockFactories(WndTypeRegistry* registry);
