#include "core/ui/main_form_layout.h"

namespace velorin::core {

namespace {

// Centre line of the signal row.
constexpr int kRowY = 110;
constexpr int kArrowY = kRowY - 7;

constexpr FormBlock kBlocks[] = {
    {1001, {124, 78, 88, 64}, BlockShape::RoundedRect},     // PFD and charge pump
    {1002, {388, 72, 112, 76}, BlockShape::Ellipse},        // VCO
    {1005, {544, 78, 88, 64}, BlockShape::RoundedRect},     // prescaler
    {1016, {676, 78, 88, 64}, BlockShape::RoundedRect},     // output divider
    {1006, {808, 70, 104, 80}, BlockShape::RightTriangle},  // output buffer
    {1010, {544, 186, 88, 56}, BlockShape::RoundedRect},    // feedback divider
    {1014, {400, 156, 88, 44}, BlockShape::Ellipse},        // the other VCO, decoration
};

constexpr FormPlacement kPlacements[] = {
    // Signal path pictures.
    {1015, {256, 78, 88, 64}},       // loop filter
    {1003, {82, kArrowY, 40, 15}},   // input -> PFD
    {1004, {214, kArrowY, 40, 15}},  // PFD -> loop filter
    {1007, {346, kArrowY, 40, 15}},  // loop filter -> VCO
    {1008, {502, kArrowY, 40, 15}},  // VCO -> prescaler
    {1011, {634, kArrowY, 40, 15}},  // prescaler -> output divider
    {1012, {766, kArrowY, 40, 15}},  // output divider -> output buffer
    {1013, {914, kArrowY, 40, 15}},  // output buffer -> output
    {1017, {581, 144, 15, 40}},      // prescaler -> feedback divider
    {1018, {502, 207, 40, 15}},      // feedback divider -> back to the PFD
    {1009, {840, 154, 40, 48}},      // termination
    // Frequencies.
    {1201, {12, 99, 68, 22}},
    {1200, {958, 99, 70, 22}},
    {1300, {12, 40, 80, 48}},     // "Input\nFrequency\n(Mhz)"
    {1301, {958, 40, 80, 48}},    // "Output\nFrequency\n(Mhz)"
    {1204, {8, 126, 96, 32}},     // "Input beyond\nVCO range!"
    {1302, {290, 226, 250, 30}},  // VCO input ranges
    {1303, {16, 268, 440, 16}},   // the note
    // Group boxes.
    {1310, {4, 4, 1032, 290}},     // "Velorin Config"
    {1311, {4, 300, 600, 104}},    // "EVM Optionts"
    {1312, {612, 300, 256, 104}},  // "IC Block Config"
    // Board options.
    {1044, {16, 322, 220, 22}},
    {1045, {16, 346, 220, 22}},
    {1038, {16, 370, 220, 22}},
    {1320, {270, 322, 150, 20}},  // "USB communication   "
    {1028, {424, 324, 16, 16}},
    {1321, {270, 350, 48, 20}},  // "VDD A"
    {1029, {318, 352, 16, 16}},
    {1322, {350, 350, 48, 20}},  // "VDD B"
    {1030, {398, 352, 16, 16}},
    {1323, {430, 350, 48, 20}},  // "VDD C"
    {1031, {478, 352, 16, 16}},
    {1324, {510, 350, 48, 20}},  // "VDD D"
    {1032, {558, 352, 16, 16}},
    // Blocks.
    {1040, {628, 326, 110, 22}},
    {1041, {748, 326, 110, 22}},
    {1042, {628, 358, 110, 22}},
    {1043, {748, 358, 110, 22}},
    {1039, {884, 326, 144, 30}},
    {1325, {884, 372, 144, 20}},  // "MXRG817A GUI V1.0 "
};

constexpr FormPoint kWire[] = {
    {502, 214},  // leaving the feedback divider's arrow
    {168, 214},
    {168, 144},  // into the PFD's bottom edge
    {168, 142},
};

bool InRect(const FormRect &r, int x, int y) {
    return x >= r.x && x < r.Right() && y >= r.y && y < r.Bottom();
}

// Distance test against an ellipse with the given centre and half-axes, in doubled units so
// that even sizes stay exact.
bool InEllipse(long cx2, long cy2, long a2, long b2, long x2, long y2) {
    if (a2 <= 0 || b2 <= 0) return false;
    const long dx = x2 - cx2;
    const long dy = y2 - cy2;
    return dx * dx * b2 * b2 + dy * dy * a2 * a2 <= a2 * a2 * b2 * b2;
}

}  // namespace

std::span<const FormBlock> MainFormBlocks() {
    return kBlocks;
}

std::span<const FormPlacement> MainFormPlacements() {
    return kPlacements;
}

std::optional<FormRect> MainFormRect(int id) {
    for (const FormBlock &b : MainFormBlocks())
        if (b.id == id) return b.rect;
    for (const FormPlacement &p : MainFormPlacements())
        if (p.id == id) return p.rect;
    return std::nullopt;
}

std::span<const FormPoint> FeedbackWire() {
    return kWire;
}

bool ShapeContains(BlockShape shape, const FormRect &r, int x, int y) {
    if (!InRect(r, x, y)) return false;
    // Pixel centres in doubled coordinates.
    const long px = 2L * x + 1;
    const long py = 2L * y + 1;
    switch (shape) {
        case BlockShape::Ellipse:
            return InEllipse(2L * r.x + r.width, 2L * r.y + r.height, r.width, r.height, px, py);
        case BlockShape::RightTriangle: {
            // From the top-left corner to the middle of the right edge and back to the bottom
            // left: the half-height shrinks linearly from the left edge to the tip.
            const long dx = px - 2L * r.x;
            const long dy = py - (2L * r.y + r.height);
            const long w = 2L * r.width;
            const long h = r.height;  // half the height, doubled
            return (dy < 0 ? -dy : dy) * w <= h * (w - dx);
        }
        case BlockShape::RoundedRect: {
            const long d = kBlockCornerDiameter;  // doubled radius
            const long left = 2L * r.x + d;
            const long right = 2L * r.Right() - d;
            const long top = 2L * r.y + d;
            const long bottom = 2L * r.Bottom() - d;
            const long cx = px < left ? left : (px > right ? right : px);
            const long cy = py < top ? top : (py > bottom ? bottom : py);
            if (cx == px || cy == py) return true;
            return InEllipse(cx, cy, d, d, px, py);
        }
    }
    return false;
}

}  // namespace velorin::core
