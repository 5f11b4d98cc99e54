// Where a window that widens to its right goes so that the whole of it stays on the screen.
#pragma once

namespace velorin::core {

struct HorizontalSpan {
    int left = 0;
    int width = 0;
};

struct WidenedPlacement {
    int left = 0;        // the window frame's new left edge
    int extraWidth = 0;  // what the widening adds, narrowed if the screen is too small
};

// The window keeps its place when the widened frame fits; else it moves left, and where even the
// whole work area is too narrow the added part narrows, to minExtraWidth at most, and the window
// stands at the work area's left edge.
WidenedPlacement PlaceWidenedWindow(HorizontalSpan frame, int extraWidth, int minExtraWidth,
                                    HorizontalSpan available);

}  // namespace velorin::core
