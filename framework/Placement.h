// Where a window goes: inside the screen's work area, or inside its parent's client area, moved as
// little as it can be, so that what a person must reach stays on the screen.
#pragma once

#include "framework/Classes.h"

// Which side of a window is cut where the window is larger than its area: the end (right or bottom)
// keeps its top-left corner, and with it the caption, in reach; the start (left or top) keeps its
// bottom or right edge.
enum class Cut { End, Start };

struct Fit {
    Cut horizontal = Cut::End;
    Cut vertical = Cut::End;
    // The part of the window, in the window's own coordinates, that must lie whole inside the area
    // where the window itself cannot; empty for none.
    TRect keep{};
};

// `window` moved as little as it can to lie inside `area`; where it already lies inside, it stays.
// Along an axis where it is larger than the area, it lies against the area's edge away from its cut
// side, then moves again as little as brings the part to keep inside.
TRect FitInside(const TRect& window, const TRect& area, const Fit& fit = {});
