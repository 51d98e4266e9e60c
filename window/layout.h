// Form1 as data: every control and diagram line with its place in twips
// (1/1440 inch; 15 twips make one pixel at 96 dots per inch). The window is
// built from these tables by one loop, and the tests check it against them.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace window {

enum class Kind { CommandButton, TextBox, Frame, Label };

struct ControlRow {
    std::string_view name;
    Kind kind;
    bool inFrame1; // placed relative to Frame1 rather than the window
    std::string_view caption; // UTF-8
    int left, top, width, height;
    int tabIndex;
};

struct LineRow {
    std::string_view name;
    int x1, y1, x2, y2;
};

inline constexpr std::string_view kTitle = "线性差值";
inline constexpr int kClientWidth = 6135;
inline constexpr int kClientHeight = 4335;

// In the order of the stored form description.
inline constexpr std::array<ControlRow, 22> kControls = {{
    {"Command2", Kind::CommandButton, false, "清 除", 4320, 3480, 1215, 495, 16},
    {"y", Kind::TextBox, false, "", 4560, 2160, 975, 270, 14},
    {"Command1", Kind::CommandButton, false, "差 值", 4320, 2760, 1215, 495, 13},
    {"Frame1", Kind::Frame, false, "参数", 360, 2040, 3375, 1935, 2},
    {"x", Kind::TextBox, true, "", 600, 1440, 975, 270, 12},
    {"y2", Kind::TextBox, true, "", 2160, 960, 975, 270, 9},
    {"x2", Kind::TextBox, true, "", 600, 960, 945, 270, 8},
    {"x1", Kind::TextBox, true, "", 600, 480, 945, 270, 4},
    {"y1", Kind::TextBox, true, "", 2160, 480, 975, 270, 3},
    {"Label7", Kind::Label, true, "x =", 240, 1440, 375, 255, 11},
    {"Label6", Kind::Label, true, "y2=", 1800, 960, 375, 375, 10},
    {"Label5", Kind::Label, true, "x2=", 240, 960, 375, 255, 7},
    {"Label3", Kind::Label, true, "x1=", 240, 480, 375, 255, 6},
    {"Label4", Kind::Label, true, "y1=", 1800, 480, 375, 255, 5},
    {"l1", Kind::Label, false, "", 3960, 2520, 2055, 255, 21},
    {"Label12", Kind::Label, false, "两点线性差值", 3840, 720, 1935, 375, 20},
    {"Label11", Kind::Label, false, "(x,?)", 1440, 600, 495, 255, 19},
    {"Label10", Kind::Label, false, "y", 840, 240, 135, 255, 18},
    {"Label9", Kind::Label, false, "x", 2760, 1800, 135, 255, 17},
    {"Label8", Kind::Label, false, "y =", 4200, 2160, 495, 255, 15},
    {"Label2", Kind::Label, false, "(x2,y2)", 2520, 600, 615, 255, 1},
    {"Label1", Kind::Label, false, "(x1,y1)", 1200, 1200, 735, 255, 0},
}};

// The diagram: a line through two points above a pair of axes.
inline constexpr std::array<LineRow, 3> kLines = {{
    {"Line3", 1320, 1200, 2640, 480},
    {"Line2", 2880, 1680, 1080, 1680},
    {"Line1", 1080, 240, 1080, 1680},
}};

// Label12, the title, has a font of its own; every other control uses the
// application's.
struct FontRow {
    std::string_view control;
    std::string_view family; // UTF-8
    double pointSize;
    int weight; // 400 normal, 700 bold
};
inline constexpr FontRow kTitleFont = {"Label12", "宋体", 14.25, 700};

// The index of the row of that name in kControls; kControls.size() if none.
constexpr std::size_t rowOf(std::string_view name) {
    std::size_t i = 0;
    while (i < kControls.size() && kControls[i].name != name) ++i;
    return i;
}

// The rows of kControls by tab index: the keyboard order, once the controls
// that cannot take the focus are passed over.
inline constexpr std::array<std::size_t, kControls.size()> kTabOrder = [] {
    std::array<std::size_t, kControls.size()> order{};
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [](std::size_t a, std::size_t b) { return kControls[a].tabIndex < kControls[b].tabIndex; });
    return order;
}();

// Device-independent pixels; Qt scales them for the screen.
constexpr int toPixels(int twips) { return twips / 15; }

// Every place in the tables is a whole number of pixels.
static_assert([] {
    const auto whole = [](auto... twips) { return ((twips % 15 == 0) && ...); };
    for (const ControlRow& c : kControls)
        if (!whole(c.left, c.top, c.width, c.height)) return false;
    for (const LineRow& l : kLines)
        if (!whole(l.x1, l.y1, l.x2, l.y2)) return false;
    return whole(kClientWidth, kClientHeight);
}());

// Frame1 is built before the controls placed in it.
static_assert([] {
    bool frameBuilt = false;
    for (const ControlRow& c : kControls) {
        if (c.inFrame1 && !frameBuilt) return false;
        frameBuilt = frameBuilt || c.name == "Frame1";
    }
    return true;
}());

} // namespace window
