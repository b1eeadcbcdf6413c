#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vantel {

// A rectangle in picture units.
struct PictureBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double right() const { return x + width; }
    double bottom() const { return y + height; }
    bool contains(const PictureBox& other) const
    {
        return other.x >= x && other.y >= y && other.right() <= right() && other.bottom() <= bottom();
    }
};

// What one of the 34 DO alert diagrams shows, independent of any painter.
//
// The input runs up the picture on a schematic scale: level 0 is the bottom
// of the input's scale, 8 its top, and switching-point label k (1-7) sits at
// level 8 - k, so the dialog's numbers always stand beside their lines. Two
// columns show the LED (and the DO that follows it) while the input rises and
// while it falls: where they differ, the hysteresis is at work.
struct DoAlertPicture {
    static constexpr double kWidth = 320;
    static constexpr double kHeight = 236;
    static constexpr double kTopLevel = 8;

    // A stretch of the input's scale and whether the LED is lit there.
    struct Span {
        double from = 0; // lower level
        double to = 0;   // upper level
        bool lit = false;
    };
    // A threshold (solid line) or a switching point shifted by the hysteresis
    // (dashed line).
    struct Level {
        double level = 0;
        bool threshold = false;
        int slot = 0;          // label slot 1-7 beside it; 0 on the scale's ends
        bool labelled = false; // the dialog writes its value at the slot
        std::string tag;       // name of a threshold, left of the axis
    };
    // The hysteresis width between two levels.
    struct Width {
        double from = 0;
        double to = 0;
    };

    int number = 0;
    int group = 0;
    int variant = 0;
    std::vector<Span> rising;
    std::vector<Span> falling;
    std::vector<Level> levels;
    std::vector<Width> widths;
    std::optional<Span> band; // the band between the thresholds, shaded
    std::string constantText; // when the LED never changes

    // Layout, in picture units (kWidth x kHeight).
    static double yOf(double level);
    static PictureBox risingColumn();
    static PictureBox fallingColumn();
    static double axisX();
    static double lineEndX(bool labelled);
    static double widthMarkX();
    static PictureBox tagBox(double level);
    static PictureBox labelAnchor(int slot); // slot 1-7
    static PictureBox captionBox(const PictureBox& column);
    static PictureBox legendSwatch(bool lit);
    static PictureBox legendText(bool lit);
};

// The picture of diagram `number` (143-176); numbers outside show diagram 143.
DoAlertPicture DoAlertPictureFor(int number);

} // namespace vantel
