// Where every control of the main form sits, in pixels from the form's top-left corner, and the
// shape of each block of the signal path. The signal runs left to right along one row: input,
// PFD and charge pump, loop filter, VCO, prescaler, output divider, output buffer, output; the
// feedback divider sits under the prescaler and its wire runs back to the PFD.
#pragma once

#include <optional>
#include <span>

namespace velorin::core {

struct FormRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    int CentreX() const { return x + width / 2; }
    int CentreY() const { return y + height / 2; }
};

enum class BlockShape { RoundedRect, Ellipse, RightTriangle };

constexpr int kBlockCornerDiameter = 10;

struct FormBlock {
    int id;
    FormRect rect;
    BlockShape shape;
};

struct FormPlacement {
    int id;
    FormRect rect;
};

struct FormPoint {
    int x;
    int y;
};

// The form's size.
constexpr int kMainFormWidth = 1040;
constexpr int kMainFormHeight = 408;

// The clickable (and the one decorative) blocks of the signal path.
std::span<const FormBlock> MainFormBlocks();
// Every other control by id: pictures, edits, labels, LEDs, check boxes, radios, the button.
std::span<const FormPlacement> MainFormPlacements();
std::optional<FormRect> MainFormRect(int id);

// The feedback wire from the feedback divider back to the PFD: a polyline, its last point at
// the PFD's bottom edge where the arrowhead is drawn.
std::span<const FormPoint> FeedbackWire();

// Whether the point lies inside the shape drawn in the rectangle (edges included).
bool ShapeContains(BlockShape shape, const FormRect &rect, int x, int y);

}  // namespace velorin::core
