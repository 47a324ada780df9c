// The pictures are drawn with integer arithmetic only, so every compiler and platform produces the same
// bytes and ArtTest can compare the committed files against a fresh drawing.
#include "resources/art/Art.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace art {
namespace {

// Indices into the standard 16-colour palette. Setup may run on a display with nothing more, so the
// pictures stick to these and look the same everywhere.
enum Colour : std::uint8_t {
    kBlack,
    kMaroon,
    kGreen,
    kOlive,
    kNavy,
    kPurple,
    kTeal,
    kSilver,
    kGrey,
    kRed,
    kLime,
    kYellow,
    kBlue,
    kFuchsia,
    kAqua,
    kWhite,
};

// An icon pixel that lets the desktop show through. It never reaches a file as a colour: the colour bits
// get black there and the mask bit is set.
constexpr std::uint8_t kClear = 0xFF;

// 0xRRGGBB, in the order the indices above name them.
constexpr std::array<std::uint32_t, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr int kWizardWidth = 120;
constexpr int kWizardHeight = 258;

// True when (dx, dy) lies in the ellipse with radii rx, ry. The extra rx*ry*min(rx, ry) term rounds the
// edge outward by half a pixel, so small circles come out round instead of diamond-shaped.
bool InEllipse(int dx, int dy, int rx, int ry) {
    const long long x = dx, y = dy, a = rx, b = ry;
    return x * x * b * b + y * y * a * a <= a * a * b * b + a * b * std::min(a, b);
}

int ISqrt(int n) {
    int r = 0;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return r;
}

class Canvas {
public:
    Canvas(int width, int height, std::uint8_t ground)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), ground) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint8_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

    // Everything clips here, so shapes may run off the edge freely.
    void Plot(int x, int y, std::uint8_t c) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            pixels_[static_cast<std::size_t>(y * width_ + x)] = c;
    }

    // Rectangles take inclusive corners: that is how the pictures were laid out on squared paper.
    void Rect(int x0, int y0, int x1, int y1, std::uint8_t c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                Plot(x, y, c);
    }

    void Frame(int x0, int y0, int x1, int y1, std::uint8_t c) {
        Rect(x0, y0, x1, y0, c);
        Rect(x0, y1, x1, y1, c);
        Rect(x0, y0, x0, y1, c);
        Rect(x1, y0, x1, y1, c);
    }

    // A checkerboard of two colours: the only way to get an in-between shade out of 16 colours.
    void Dither(int x0, int y0, int x1, int y1, std::uint8_t a, std::uint8_t b) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                Plot(x, y, ((x + y) & 1) ? b : a);
    }

    void Line(int x0, int y0, int x1, int y1, std::uint8_t c) {
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            Plot(x0, y0, c);
            if (x0 == x1 && y0 == y1)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }

    void Ellipse(int cx, int cy, int rx, int ry, std::uint8_t c) {
        for (int y = -ry; y <= ry; ++y)
            for (int x = -rx; x <= rx; ++x)
                if (InEllipse(x, y, rx, ry))
                    Plot(cx + x, cy + y, c);
    }

    void Ring(int cx, int cy, int r, std::uint8_t c) {
        for (int y = -r; y <= r; ++y)
            for (int x = -r; x <= r; ++x)
                if (InEllipse(x, y, r, r) && !InEllipse(x, y, r - 1, r - 1))
                    Plot(cx + x, cy + y, c);
    }

    // A raised panel lit from the top left, the way dialog controls look on the target desktop.
    void Raised(int x0, int y0, int x1, int y1, std::uint8_t face) {
        Rect(x0, y0, x1, y1, face);
        Rect(x0 + 1, y0 + 1, x1 - 1, y0 + 1, kWhite);
        Rect(x0 + 1, y0 + 1, x0 + 1, y1 - 1, kWhite);
        Rect(x0 + 1, y1 - 1, x1 - 1, y1 - 1, kGrey);
        Rect(x1 - 1, y0 + 1, x1 - 1, y1 - 1, kGrey);
        Frame(x0, y0, x1, y1, kBlack);
    }

    // The edge of a hole in a raised panel: shadowed at the top left, lit at the bottom right.
    void Sunken(int x0, int y0, int x1, int y1) {
        Rect(x0, y0, x1, y0, kGrey);
        Rect(x0, y0, x0, y1, kGrey);
        Rect(x0, y1, x1, y1, kWhite);
        Rect(x1, y0, x1, y1, kWhite);
    }

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// ---- The wizard picture --------------------------------------------------------------------------------

// Land masses as ellipses on a globe of radius 30, centre relative; the globe scales them to its size.
struct Blob {
    int dx, dy, rx, ry;
};
constexpr std::array<Blob, 12> kLand = {{
    {-16, -15, 9, 6},  // the northern continent of the western half
    {-10, -9, 7, 6},
    {-19, -6, 4, 5},
    {-5, 2, 3, 3},   // the narrow land bridge
    {-2, 12, 6, 8},  // the southern continent
    {-4, 19, 3, 5},
    {11, -14, 6, 4},  // the continent of the eastern half
    {17, -18, 8, 4},
    {13, 5, 6, 9},
    {16, -4, 7, 5},
    {21, -9, 6, 4},
    {24, 16, 3, 2},  // an island
}};

bool IsLand(int dx, int dy, int r) {
    for (const Blob& b : kLand) {
        const int bx = dx * 30 - b.dx * r, by = dy * 30 - b.dy * r;
        if (InEllipse(bx, by, b.rx * r, b.ry * r))
            return true;
    }
    return false;
}

void DrawGlobe(Canvas& c, int cx, int cy, int r) {
    for (int dy = -r; dy <= r; ++dy) {
        const int half = ISqrt(r * r - dy * dy);
        for (int dx = -r; dx <= r; ++dx) {
            if (!InEllipse(dx, dy, r, r))
                continue;
            const int x = cx + dx, y = cy + dy;
            // Light falls from the top left: lit, a dithered terminator, then shadow toward the bottom right.
            const int away = dx + dy;
            const bool dark = away * 10 > r * 8 || (away * 10 > r * 2 && ((x + y) & 1));
            const bool land = IsLand(dx, dy, r);
            std::uint8_t colour = land ? (dark ? kGreen : kLime) : (dark ? kNavy : kBlue);
            // Lines of latitude and longitude, on the sea only, so the coasts stay crisp.
            const bool parallel = dy == 0 || std::abs(dy) == r / 2;
            const bool meridian = std::abs(dx) == half * 866 / 1000 || std::abs(dx) == half / 2 || dx == 0;
            if (!land && (parallel || meridian))
                colour = dark ? kBlue : kAqua;
            c.Plot(x, y, colour);
        }
    }
    c.Ring(cx, cy, r, kBlack);
}

void DrawMonitor(Canvas& c, int x0, int y0, int x1, int y1) {
    c.Raised(x0, y0, x1, y1, kSilver);
    const int sx0 = x0 + 7, sy0 = y0 + 6, sx1 = x1 - 7, sy1 = y1 - 12;
    c.Sunken(sx0 - 2, sy0 - 2, sx1 + 2, sy1 + 2);
    c.Frame(sx0 - 1, sy0 - 1, sx1 + 1, sy1 + 1, kBlack);

    // The screen shows a setup screen: a blue backdrop that darkens downward with a progress window.
    const int third = (sy1 - sy0) / 3;
    c.Rect(sx0, sy0, sx1, sy0 + third, kBlue);
    c.Dither(sx0, sy0 + third + 1, sx1, sy1 - third, kBlue, kNavy);
    c.Rect(sx0, sy1 - third + 1, sx1, sy1, kNavy);
    c.Rect(sx0 + 3, sy0 + 3, sx0 + 30, sy0 + 3, kWhite);  // the backdrop's title
    c.Rect(sx0 + 3, sy0 + 5, sx0 + 20, sy0 + 5, kAqua);

    const int wx0 = sx0 + 12, wy0 = sy0 + 14, wx1 = sx1 - 10, wy1 = sy1 - 7;
    c.Rect(wx0 + 2, wy0 + 2, wx1 + 2, wy1 + 2, kBlack);  // the window's shadow
    c.Raised(wx0, wy0, wx1, wy1, kSilver);
    c.Rect(wx0 + 2, wy0 + 2, wx1 - 2, wy0 + 5, kNavy);
    c.Rect(wx0 + 4, wy0 + 3, wx0 + 16, wy0 + 4, kWhite);
    c.Rect(wx0 + 5, wy0 + 9, wx1 - 12, wy0 + 9, kBlack);  // a line of text
    const int bx0 = wx0 + 4, bx1 = wx1 - 4, by0 = wy1 - 8, by1 = wy1 - 4;
    c.Sunken(bx0, by0, bx1, by1);
    c.Rect(bx0 + 1, by0 + 1, bx1 - 1, by1 - 1, kWhite);
    for (int x = bx0 + 2; x + 2 <= bx0 + (bx1 - bx0) * 2 / 3; x += 4)
        c.Rect(x, by0 + 2, x + 2, by1 - 2, kNavy);

    // The power light and the knobs under the screen.
    c.Rect(x1 - 10, y1 - 6, x1 - 9, y1 - 5, kLime);
    c.Raised(x1 - 22, y1 - 8, x1 - 15, y1 - 3, kSilver);
    for (int i = 0; i < 3; ++i)
        c.Rect(x0 + 8 + i * 5, y1 - 6, x0 + 10 + i * 5, y1 - 5, kGrey);
}

void DrawCase(Canvas& c, int x0, int y0, int x1, int y1) {
    c.Raised(x0, y0, x1, y1, kSilver);
    // The drive bays sit on the right: a CD-ROM drive with its tray and button above a floppy drive.
    const int dx0 = x1 - 46, dx1 = x1 - 6;
    c.Sunken(dx0, y0 + 4, dx1, y0 + 12);
    c.Rect(dx0 + 1, y0 + 5, dx1 - 1, y0 + 11, kSilver);
    c.Rect(dx0 + 3, y0 + 8, dx1 - 10, y0 + 8, kGrey);
    c.Rect(dx0 + 3, y0 + 9, dx1 - 10, y0 + 9, kWhite);
    c.Raised(dx1 - 7, y0 + 8, dx1 - 3, y0 + 10, kSilver);
    c.Plot(dx1 - 9, y0 + 6, kLime);
    c.Sunken(dx0 + 10, y0 + 15, dx1, y0 + 21);
    c.Rect(dx0 + 13, y0 + 17, dx1 - 8, y0 + 18, kBlack);
    c.Rect(dx1 - 5, y0 + 19, dx1 - 3, y0 + 19, kGrey);

    // Vents, the power switch and its lights on the left.
    for (int y = y0 + 4; y <= y0 + 12; y += 2)
        c.Rect(x0 + 6, y, x0 + 36, y, kGrey);
    c.Raised(x0 + 6, y0 + 16, x0 + 14, y0 + 22, kSilver);
    c.Rect(x0 + 19, y0 + 18, x0 + 21, y0 + 19, kLime);
    c.Rect(x0 + 25, y0 + 18, x0 + 27, y0 + 19, kRed);
}

void DrawKeyboard(Canvas& c, int top, int bottom, int left, int right) {
    // The keyboard is seen from above and in front, so it widens toward the viewer by `slant` a side.
    const int slant = 8, depth = bottom - top;
    auto edge = [&](int y, bool right_side) {
        const int s = (y - top) * slant / depth;
        return right_side ? right + s : left - s;
    };
    for (int y = top; y <= bottom; ++y) {
        c.Rect(edge(y, false), y, edge(y, true), y, y >= bottom - 2 ? kGrey : kSilver);
        c.Plot(edge(y, false), y, kBlack);
        c.Plot(edge(y, true), y, kBlack);
    }
    c.Rect(edge(top, false), top, edge(top, true), top, kBlack);
    c.Rect(edge(bottom, false), bottom, edge(bottom, true), bottom, kBlack);

    // Four rows of keys, each a white top over a grey front; the last row has the space bar.
    for (int row = 0; row < 4; ++row) {
        const int y = top + 2 + row * 3;
        const int x0 = edge(y, false) + 3, x1 = edge(y, true) - 3;
        if (row == 3) {
            c.Rect(x0, y, x0 + 14, y, kWhite);
            c.Rect(x0 + 20, y, x1 - 20, y, kWhite);
            c.Rect(x1 - 14, y, x1, y, kWhite);
            c.Rect(x0, y + 1, x1, y + 1, kGrey);
            continue;
        }
        for (int x = x0 + (row & 1) * 2; x + 2 <= x1; x += 4) {
            c.Rect(x, y, x + 2, y, kWhite);
            c.Rect(x, y + 1, x + 2, y + 1, kGrey);
        }
    }
}

// A compact disc: a silver face with the rainbow sheen running across it along one diagonal, a clear hub
// and a hole that shows whatever lies behind.
void DrawCompactDisc(Canvas& c, int cx, int cy, int r) {
    for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
            if (!InEllipse(dx, dy, r, r) || InEllipse(dx, dy, 3, 3))
                continue;
            const int x = cx + dx, y = cy + dy;
            const bool odd = (x + y) & 1;
            std::uint8_t colour;
            if (!InEllipse(dx, dy, 6, 6)) {
                // How far the pixel sits from the sheen's diagonal, 0 on it and 16 square across it.
                const int off = std::abs(dx - dy) * 16 / std::max(1, std::abs(dx) + std::abs(dy));
                if (off < 2)
                    colour = kWhite;
                else if (off < 4)
                    colour = odd ? kWhite : kAqua;
                else if (off < 6)
                    colour = kAqua;
                else if (off < 8)
                    colour = odd ? kSilver : kFuchsia;
                else if (off < 10)
                    colour = odd ? kSilver : kYellow;
                else
                    colour = kSilver;
            } else {
                colour = InEllipse(dx, dy, 4, 4) ? kGrey : kSilver;
            }
            c.Plot(x, y, colour);
        }
    }
    c.Ring(cx, cy, r, kBlack);
    c.Ring(cx, cy, r - 1, kGrey);
    c.Ring(cx, cy, 7, kGrey);
    c.Ring(cx, cy, 4, kBlack);
}

// A drop shadow: the ground dithered with black, offset down and right from the thing that casts it.
void DrawShadow(Canvas& c, int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (c.At(std::clamp(x, 0, c.Width() - 1), std::clamp(y, 0, c.Height() - 1)) == kTeal &&
                ((x + y) & 1))
                c.Plot(x, y, kBlack);
}

Canvas PaintWizard() {
    Canvas c(kWizardWidth, kWizardHeight, kTeal);
    DrawGlobe(c, 60, 44, 30);

    DrawShadow(c, 20, 152, 107, 155);  // the monitor's, on the case top
    DrawShadow(c, 106, 88, 107, 152);
    DrawMonitor(c, 16, 84, 104, 151);
    c.Rect(48, 152, 72, 154, kGrey);  // the stand
    c.Raised(40, 155, 80, 159, kSilver);

    DrawShadow(c, 12, 188, 114, 190);
    DrawShadow(c, 112, 163, 114, 188);
    DrawCase(c, 6, 160, 111, 187);

    DrawShadow(c, 4, 211, 116, 212);
    DrawKeyboard(c, 194, 210, 18, 101);

    // Two discs, the front one partly covering the other.
    DrawCompactDisc(c, 40, 233, 20);
    DrawCompactDisc(c, 77, 236, 20);
    return c;
}

// ---- The program icon ----------------------------------------------------------------------------------

// A boxed product, seen from the front with its top and right side showing `depth` pixels deep.
void DrawSoftwareBox(Canvas& c, int x0, int y0, int x1, int y1, int depth, int disc) {
    for (int k = 1; k <= depth; ++k) {
        c.Rect(x0 + k, y0 - k, x1 + k - 1, y0 - k, kAqua);  // the lit top
        c.Rect(x1 + k, y0 - k, x1 + k, y1 - k, kNavy);      // the side in shade
    }
    c.Line(x0, y0, x0 + depth, y0 - depth, kBlack);
    c.Rect(x0 + depth, y0 - depth - 1, x1 + depth, y0 - depth - 1, kBlack);
    c.Rect(x1 + depth + 1, y0 - depth - 1, x1 + depth + 1, y1 - depth, kBlack);
    c.Line(x1, y1, x1 + depth + 1, y1 - depth - 1, kBlack);

    c.Rect(x0, y0, x1, y1, kBlue);
    const int stripe = y0 + (y1 - y0) * 2 / 3;
    c.Rect(x0, stripe, x1, stripe + (disc > 0 ? 2 : 1), kYellow);
    for (int k = 1; k <= depth; ++k)
        c.Rect(x1 + k, stripe - k, x1 + k, stripe - k + (disc > 0 ? 2 : 1), kOlive);
    c.Frame(x0, y0, x1, y1, kBlack);
    if (disc > 0) {
        const int cx = (x0 + x1) / 2, cy = y0 + (stripe - y0) / 2 + 1;
        c.Ellipse(cx, cy, disc, disc, kSilver);
        c.Line(cx - disc + 1, cy - disc + 1, cx + disc - 1, cy + disc - 1, kWhite);
        c.Plot(cx + 1, cy - 1, kAqua);
        c.Plot(cx - 1, cy + 1, kFuchsia);
        c.Plot(cx, cy, kBlue);
    } else {
        // Too small for a disc: a glint of one where it would be.
        const int cx = (x0 + x1) / 2, cy = y0 + 3;
        c.Rect(cx - 1, cy - 1, cx, cy, kSilver);
        c.Plot(cx - 1, cy - 1, kWhite);
    }
}

Canvas PaintIcon32() {
    Canvas c(32, 32, kClear);
    c.Raised(0, 1, 21, 17, kSilver);  // the monitor
    c.Frame(3, 4, 18, 14, kGrey);
    c.Rect(4, 5, 17, 8, kBlue);
    c.Dither(4, 9, 17, 10, kBlue, kNavy);
    c.Rect(4, 11, 17, 13, kNavy);
    c.Rect(5, 6, 11, 6, kWhite);
    c.Rect(7, 18, 14, 18, kGrey);
    c.Raised(0, 19, 23, 26, kSilver);  // the case
    c.Rect(11, 21, 19, 21, kBlack);
    c.Rect(3, 23, 5, 23, kLime);
    c.Rect(1, 28, 21, 30, kSilver);  // the keyboard
    c.Frame(1, 28, 21, 30, kBlack);
    for (int x = 3; x <= 19; x += 2)
        c.Plot(x, 29, kGrey);
    DrawSoftwareBox(c, 17, 12, 27, 31, 3, 4);
    return c;
}

Canvas PaintIcon16() {
    Canvas c(16, 16, kClear);
    c.Raised(0, 0, 11, 9, kSilver);
    c.Rect(2, 2, 9, 4, kBlue);
    c.Rect(2, 5, 9, 7, kNavy);
    c.Raised(0, 10, 11, 14, kSilver);
    c.Plot(2, 12, kLime);
    DrawSoftwareBox(c, 8, 6, 13, 15, 2, 0);
    return c;
}

// ---- File formats --------------------------------------------------------------------------------------
// Everything little-endian, as the Windows headers lay it out.

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kPaletteBytes = 16 * 4;

// Rows of a device-independent bitmap are padded to whole 32-bit words.
std::uint32_t ColourRowBytes(int width) {
    return static_cast<std::uint32_t>((width * 4 + 31) / 32 * 4);
}
std::uint32_t MaskRowBytes(int width) {
    return static_cast<std::uint32_t>((width + 31) / 32 * 4);
}

void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, std::uint32_t image_bytes,
                   std::uint32_t colours_used) {
    Put32(out, kInfoHeaderBytes);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));  // positive: the rows run bottom-up
    Put16(out, 1);                                   // planes
    Put16(out, 4);                                   // bits per pixel
    Put32(out, 0);                                   // uncompressed
    Put32(out, image_bytes);
    Put32(out, 0);  // no preferred resolution
    Put32(out, 0);
    Put32(out, colours_used);
    Put32(out, 0);  // all colours matter
}

// Palette entries are stored blue, green, red, then a reserved zero.
void PutPalette(std::vector<std::uint8_t>& out) {
    for (const std::uint32_t rgb : kPalette) {
        out.push_back(static_cast<std::uint8_t>(rgb));
        out.push_back(static_cast<std::uint8_t>(rgb >> 8));
        out.push_back(static_cast<std::uint8_t>(rgb >> 16));
        out.push_back(0);
    }
}

void PutColourBits(std::vector<std::uint8_t>& out, const Canvas& c) {
    for (int y = c.Height() - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(ColourRowBytes(c.Width()), 0);
        for (int x = 0; x < c.Width(); ++x) {
            const std::uint8_t p = c.At(x, y) == kClear ? std::uint8_t{kBlack} : c.At(x, y);
            row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? p << 4 : p);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

// The AND mask: a set bit leaves the screen pixel alone, which is what makes the icon's ground see-through.
void PutMaskBits(std::vector<std::uint8_t>& out, const Canvas& c) {
    for (int y = c.Height() - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(MaskRowBytes(c.Width()), 0);
        for (int x = 0; x < c.Width(); ++x)
            if (c.At(x, y) == kClear)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

std::vector<std::uint8_t> IconImage(const Canvas& c) {
    const std::uint32_t bits = ColourRowBytes(c.Width()) * static_cast<std::uint32_t>(c.Height()) +
                               MaskRowBytes(c.Width()) * static_cast<std::uint32_t>(c.Height());
    std::vector<std::uint8_t> out;
    // An icon image's header counts the colour bits and the mask together, hence the doubled height.
    PutInfoHeader(out, c.Width(), c.Height() * 2, bits, 16);
    PutPalette(out);
    PutColourBits(out, c);
    PutMaskBits(out, c);
    return out;
}

}  // namespace

std::vector<std::uint8_t> DrawWizardBitmap() {
    const Canvas c = PaintWizard();
    const std::uint32_t offset = 14 + kInfoHeaderBytes + kPaletteBytes;
    const std::uint32_t bits = ColourRowBytes(c.Width()) * static_cast<std::uint32_t>(c.Height());
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + bits);
    Put32(out, 0);  // two reserved words
    Put32(out, offset);
    PutInfoHeader(out, c.Width(), c.Height(), bits, 16);
    PutPalette(out);
    PutColourBits(out, c);
    return out;
}

std::vector<std::uint8_t> DrawProgramIcon() {
    const std::array<std::vector<std::uint8_t>, 2> images = {IconImage(PaintIcon32()),
                                                             IconImage(PaintIcon16())};
    const std::array<int, 2> sizes = {32, 16};
    std::vector<std::uint8_t> out;
    Put16(out, 0);  // reserved
    Put16(out, 1);  // an icon, not a cursor
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(sizes[i]));
        out.push_back(static_cast<std::uint8_t>(sizes[i]));
        out.push_back(16);  // colours
        out.push_back(0);   // reserved
        Put16(out, 1);      // planes
        Put16(out, 4);      // bits per pixel
        Put32(out, static_cast<std::uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace art
