// Form1 as data: every control and diagram line with its place in twips
// (1/1440 inch; 15 twips make one pixel at 96 dots per inch), which button
// runs which command, the keyboard and stacking orders, and the fonts. Every
// window is built from these tables by one loop, and the tests check each
// against them.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "commands/commands.h"
#include "commands/form_fields.h"
#include "window/product.h"

namespace window {

enum class Kind { CommandButton, TextBox, Frame, Label };

// A row of kControls, counted from 0.
using Row = std::size_t;

struct ControlRow {
    std::string_view name; // an ASCII identifier
    Kind kind;
    bool inFrame1; // placed relative to Frame1 rather than the window
    std::u16string_view caption;
    int left, top, width, height;
    int tabIndex;
};

struct LineRow {
    std::string_view name;
    int x1, y1, x2, y2;
};

inline constexpr std::u16string_view kTitle = kProductName;
inline constexpr int kClientWidth = 6135;
inline constexpr int kClientHeight = 4335;

// In the order of the stored form description.
inline constexpr std::array<ControlRow, 22> kControls = {{
    {"Command2", Kind::CommandButton, false, u"清 除", 4320, 3480, 1215, 495, 16},
    {"y", Kind::TextBox, false, u"", 4560, 2160, 975, 270, 14},
    {"Command1", Kind::CommandButton, false, u"差 值", 4320, 2760, 1215, 495, 13},
    {"Frame1", Kind::Frame, false, u"参数", 360, 2040, 3375, 1935, 2},
    {"x", Kind::TextBox, true, u"", 600, 1440, 975, 270, 12},
    {"y2", Kind::TextBox, true, u"", 2160, 960, 975, 270, 9},
    {"x2", Kind::TextBox, true, u"", 600, 960, 945, 270, 8},
    {"x1", Kind::TextBox, true, u"", 600, 480, 945, 270, 4},
    {"y1", Kind::TextBox, true, u"", 2160, 480, 975, 270, 3},
    {"Label7", Kind::Label, true, u"x =", 240, 1440, 375, 255, 11},
    {"Label6", Kind::Label, true, u"y2=", 1800, 960, 375, 375, 10},
    {"Label5", Kind::Label, true, u"x2=", 240, 960, 375, 255, 7},
    {"Label3", Kind::Label, true, u"x1=", 240, 480, 375, 255, 6},
    {"Label4", Kind::Label, true, u"y1=", 1800, 480, 375, 255, 5},
    {"l1", Kind::Label, false, u"", 3960, 2520, 2055, 255, 21},
    {"Label12", Kind::Label, false, u"两点线性差值", 3840, 720, 1935, 375, 20},
    {"Label11", Kind::Label, false, u"(x,?)", 1440, 600, 495, 255, 19},
    {"Label10", Kind::Label, false, u"y", 840, 240, 135, 255, 18},
    {"Label9", Kind::Label, false, u"x", 2760, 1800, 135, 255, 17},
    {"Label8", Kind::Label, false, u"y =", 4200, 2160, 495, 255, 15},
    {"Label2", Kind::Label, false, u"(x2,y2)", 2520, 600, 615, 255, 1},
    {"Label1", Kind::Label, false, u"(x1,y1)", 1200, 1200, 735, 255, 0},
}};

// The diagram: a line through two points above a pair of axes.
inline constexpr std::array<LineRow, 3> kLines = {{
    {"Line3", 1320, 1200, 2640, 480},
    {"Line2", 2880, 1680, 1080, 1680},
    {"Line1", 1080, 240, 1080, 1680},
}};

// Label12, the title, has a font of its own; every other control uses the
// window's, at kDesignPointSize: the 17-pixel labels and 18-pixel fields are
// sized for 9 points.
struct FontRow {
    std::string_view control;
    std::u16string_view family;
    double pointSize;
    int weight; // 400 normal, 700 bold
};
inline constexpr FontRow kTitleFont = {"Label12", u"宋体", 14.25, 700};
inline constexpr int kDesignPointSize = 9;

// What a failed click leaves undone depends on which command it ran.
enum class Command { Interpolate, Clear };

struct ButtonRow {
    std::string_view control;
    void (*run)(commands::FormFields&);
    Command command;
};
inline constexpr std::array<ButtonRow, 2> kButtons = {{
    {"Command1", commands::Command1_Click, Command::Interpolate},
    {"Command2", commands::Command2_Click, Command::Clear},
}};

// The row of that name in kControls; kControls.size() if none.
constexpr Row rowOf(std::string_view name) {
    Row i = 0;
    while (i < kControls.size() && kControls[i].name != name) ++i;
    return i;
}

constexpr bool takesFocus(Kind kind) { return kind == Kind::TextBox || kind == Kind::CommandButton; }

// The rows ordered by `before`, keeping the table's order among equals (an
// insertion sort: std::stable_sort cannot run at compile time).
template <class Before>
constexpr std::array<Row, kControls.size()> sortedRows(Before before) {
    std::array<Row, kControls.size()> rows{};
    for (Row i = 0; i < rows.size(); ++i) {
        Row j = i;
        for (; j > 0 && before(i, rows[j - 1]); --j) rows[j] = rows[j - 1];
        rows[j] = i;
    }
    return rows;
}

inline constexpr std::size_t kFocusableCount =
    static_cast<std::size_t>(std::count_if(kControls.begin(), kControls.end(),
                                           [](const ControlRow& c) { return takesFocus(c.kind); }));

// The keyboard order: the rows that take the focus, by tab index. The focus
// starts in the first.
inline constexpr std::array<Row, kFocusableCount> kTabOrder = [] {
    const auto byTab = sortedRows([](Row a, Row b) { return kControls[a].tabIndex < kControls[b].tabIndex; });
    std::array<Row, kFocusableCount> order{};
    std::copy_if(byTab.begin(), byTab.end(), order.begin(), [](Row r) { return takesFocus(kControls[r].kind); });
    return order;
}();
inline constexpr Row kFirstFocus = kTabOrder.front();

// Top to bottom: the fields and buttons by tab index, then the labels, then
// Frame1. A field label's box overlaps its field; the field lies above it, so
// that all of it shows and takes clicks.
inline constexpr std::array<Row, kControls.size()> kStackOrder = sortedRows([](Row a, Row b) {
    const auto layer = [](Row r) {
        const Kind kind = kControls[r].kind;
        return takesFocus(kind) ? 0 : kind == Kind::Label ? 1 : 2;
    };
    if (layer(a) != layer(b)) return layer(a) < layer(b);
    return kControls[a].tabIndex < kControls[b].tabIndex;
});

// The rows of the form fields the commands see, indexed by TextField.
inline constexpr std::array<Row, commands::kTextFieldNames.size()> kTextFieldRows = [] {
    std::array<Row, commands::kTextFieldNames.size()> rows{};
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = rowOf(commands::kTextFieldNames[i]);
    return rows;
}();
inline constexpr Row kL1Row = rowOf("l1");

// The longest text a row's control must show whole: its caption, or for l1,
// which starts empty, the message the interpolation writes there.
constexpr std::u16string_view longestText(Row row) {
    return row == kL1Row ? commands::kEqualAbscissas : kControls[row].caption;
}

constexpr Row rowOf(commands::TextField field) { return kTextFieldRows[static_cast<std::size_t>(field)]; }

// The label that names a field: the one in its container, on its line, whose
// box reaches into the field from the left. kControls.size() if none.
constexpr Row labelOf(Row field) {
    const ControlRow& f = kControls[field];
    for (Row i = 0; i < kControls.size(); ++i) {
        const ControlRow& l = kControls[i];
        if (l.kind == Kind::Label && l.inFrame1 == f.inFrame1 && l.top == f.top && l.left < f.left
            && l.left + l.width >= f.left)
            return i;
    }
    return kControls.size();
}

// The field a label names; kControls.size() if it names none.
constexpr Row fieldNamedBy(Row label) {
    for (Row i = 0; i < kControls.size(); ++i)
        if (kControls[i].kind == Kind::TextBox && labelOf(i) == label) return i;
    return kControls.size();
}

// What a screen reader calls a control, on every platform: the text the user
// sees for it. A button by its caption ("差 值"), a field by the label that
// names it ("x1="), anything else by its caption.
constexpr std::u16string_view accessibleName(Row row) {
    const Row label = kControls[row].kind == Kind::TextBox ? labelOf(row) : kControls.size();
    return kControls[label < kControls.size() ? label : row].caption;
}

// What a screen reader is told when a field's text changes under the user
// (the result): the field's name and its text, "y = 4".
inline std::u16string announcement(Row field, std::u16string_view text) {
    return std::u16string(accessibleName(field)) + u" " + std::u16string(text);
}

// What a screen reader meets. The title; the diagram, one figure read by its
// name and description rather than label by label; the controls in keyboard
// order, each field after the label that names it and Frame1 before the
// first of its own; l1, the message, last.
inline constexpr Row kTitleRow = rowOf(kTitleFont.control);
constexpr bool inDiagram(Row row) {
    return kControls[row].kind == Kind::Label && fieldNamedBy(row) == kControls.size() && row != kL1Row
        && row != kTitleRow;
}
inline constexpr std::u16string_view kDiagramName = u"示意图";
inline constexpr std::u16string_view kDiagramDescription =
    u"一条直线经过已知的两点 (x1,y1) 和 (x2,y2)；在横坐标 x 处的点 (x,?) 也在这条直线上，它的纵坐标就是要求的 y。";
inline constexpr std::array<Row, kControls.size()> kReadingOrder = [] {
    std::array<Row, kControls.size()> order{};
    std::size_t n = 0;
    order[n++] = kTitleRow;
    for (const Row row : sortedRows([](Row a, Row b) { return kControls[a].tabIndex < kControls[b].tabIndex; }))
        if (inDiagram(row)) order[n++] = row;
    bool frameRead = false;
    for (const Row row : kTabOrder) {
        if (kControls[row].inFrame1 && !frameRead) {
            order[n++] = rowOf("Frame1");
            frameRead = true;
        }
        if (labelOf(row) < kControls.size()) order[n++] = labelOf(row);
        order[n++] = row;
    }
    order[n++] = kL1Row;
    return order;
}();
// Every row is read once.
static_assert([] {
    for (Row row = 0; row < kControls.size(); ++row)
        if (std::count(kReadingOrder.begin(), kReadingOrder.end(), row) != 1) return false;
    return true;
}());

// A row's box in the window's own coordinates: for a control inside Frame1,
// Frame1's corner plus its place in the frame.
struct Box {
    int left, top, width, height;
};
constexpr Box windowBox(Row row) {
    const ControlRow& c = kControls[row];
    const ControlRow& frame = kControls[rowOf("Frame1")];
    return {c.left + (c.inFrame1 ? frame.left : 0), c.top + (c.inFrame1 ? frame.top : 0), c.width, c.height};
}

// The smallest box in the window that holds the diagram's lines and
// captions: where the page draws it and a screen reader finds it.
inline constexpr Box kDiagramBox = [] {
    int left = kClientWidth, top = kClientHeight, right = 0, bottom = 0;
    const auto take = [&](int l, int t, int r, int b) {
        left = std::min(left, l), top = std::min(top, t), right = std::max(right, r), bottom = std::max(bottom, b);
    };
    for (const LineRow& l : kLines)
        take(std::min(l.x1, l.x2), std::min(l.y1, l.y2), std::max(l.x1, l.x2), std::max(l.y1, l.y2));
    for (Row row = 0; row < kControls.size(); ++row)
        if (inDiagram(row)) {
            const Box b = windowBox(row);
            take(b.left, b.top, b.left + b.width, b.top + b.height);
        }
    return Box{left, top, right - left, bottom - top};
}();

// Lengths on the screen: twips (1/1440 inch) and points (1/72 inch) in pixels
// at `dpi` dots per inch, 96 unless said otherwise. Every skin converts
// through these.
constexpr double twipsToPixels(double twips, double dpi = 96) { return twips * dpi / 1440; }
constexpr double pointsToPixels(double points, double dpi = 96) { return points * dpi / 72; }
// Device-independent pixels, a whole number for every place in the tables;
// the toolkit scales them for the screen.
constexpr int toPixels(int twips) { return static_cast<int>(twipsToPixels(twips)); }

// Every field the commands see is a TextBox row, and has a label naming it;
// l1 is a Label row.
static_assert(std::all_of(kTextFieldRows.begin(), kTextFieldRows.end(), [](Row r) {
    return r < kControls.size() && kControls[r].kind == Kind::TextBox && labelOf(r) < kControls.size();
}));
static_assert(kL1Row < kControls.size() && kControls[kL1Row].kind == Kind::Label);
static_assert(std::all_of(kButtons.begin(), kButtons.end(), [](const ButtonRow& b) {
    return rowOf(b.control) < kControls.size() && kControls[rowOf(b.control)].kind == Kind::CommandButton;
}));
static_assert(kControls[kFirstFocus].name == "y1");

// Names are ASCII, so that they need no conversion wherever they are shown.
static_assert(std::all_of(kControls.begin(), kControls.end(), [](const ControlRow& c) {
    return std::all_of(c.name.begin(), c.name.end(), [](char ch) { return ch > 0 && ch < 0x7F; });
}));

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
