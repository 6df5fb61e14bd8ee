#pragma once

#include <string>

#include "zrwnd/engine/SoftEngine.h"

namespace zrfuzz {

// One small reference engine for the whole run, whose log lines (a refused
// image for nearly every input) go nowhere.
inline zrwnd::engine::SoftEngine& QuietEngine() {
    static zrwnd::engine::SoftEngine engine(nullptr, 64, 48);
    static const bool quiet = (engine.SetLogSink([](void*, const std::string&) {}, nullptr), true);
    (void)quiet;
    return engine;
}

}  // namespace zrfuzz
