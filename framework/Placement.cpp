#include "framework/Placement.h"

#include <algorithm>

namespace {

// Along one axis: where a span of `size` that starts at `at` starts once moved the least that brings
// it inside [low, high); a span larger than the range starts at `low`.
int LeastMove(int at, int size, int low, int high) {
    return std::max(low, std::min(at, high - size));
}

int FitAxis(int at, int size, int low, int high, Cut cut, int keepFrom, int keepTo) {
    if (size <= high - low) {
        return LeastMove(at, size, low, high);
    }
    at = cut == Cut::End ? low : high - size;
    if (keepFrom >= keepTo) {
        return at;
    }
    return LeastMove(at + keepFrom, keepTo - keepFrom, low, high) - keepFrom;
}

}  // namespace

TRect FitInside(const TRect& window, const TRect& area, const Fit& fit) {
    const int left = FitAxis(window.Left, window.Width(), area.Left, area.Right, fit.horizontal,
                             fit.keep.Left, fit.keep.Right);
    const int top = FitAxis(window.Top, window.Height(), area.Top, area.Bottom, fit.vertical, fit.keep.Top,
                            fit.keep.Bottom);
    return TRect{left, top, left + window.Width(), top + window.Height()};
}
