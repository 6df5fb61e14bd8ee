#pragma once

#include <string>
#include <vector>

namespace zrwnd::host {

// How far a frame may stray from its reference: a pixel differs when a
// channel is off by more than `channelDelta`; at most `pixels` may differ.
struct FrameTolerance {
    int channelDelta = 0;
    int pixels = 0;
};

// Compares each frame (a PNG written by a run) with the file of the same name
// in `expectDir`. Answers one line per frame that has no reference, differs
// in size, or differs beyond the tolerance, naming the first differing pixel
// and both colours; beside such a frame it writes NAME.diff.png (the
// reference dimmed, differing pixels red). Empty when every frame matches.
std::vector<std::string> CompareFrames(const std::vector<std::string>& frames, const std::string& expectDir,
                                       FrameTolerance tolerance);

}  // namespace zrwnd::host
