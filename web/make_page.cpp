// Writes the web page from its template and the window's layout table, so
// that the page, like the desktop windows, is built from the one table.
//   make_page TEMPLATE PAGE_CSS SITE_FOLDER LAYOUT_JSON
// Writes SITE_FOLDER/index.html, with the template's @TITLE@, @FORM@,
// @DIAGRAM@ and @TOUCH_MEDIA@ replaced; SITE_FOLDER/page.css, the table as CSS custom
// properties that page.css and touch.css place the controls by, followed by
// PAGE_CSS (one stylesheet, as each one holds up the page's first paint); and
// LAYOUT_JSON, the same facts for the page's tests.
// Built for Node.js with Emscripten and run at build time.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "commands/commands.h"
#include "window/layout.h"

namespace {

using window::Kind;
using window::kControls;
using window::Row;

constexpr Row kNone = kControls.size();
constexpr Row kFrame = window::rowOf("Frame1");
using window::inDiagram;
using window::kTitleRow;

// The tables hold only characters of the Basic Multilingual Plane.
std::string utf8(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Captions are plain text, escaped for HTML text and attributes; names are
// identifiers and need no escaping.
std::string html(std::u16string_view text) {
    std::string out;
    for (const char c : utf8(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}
// A JSON string; no caption holds a control character.
std::string json(std::u16string_view text) {
    std::string out = "\"";
    for (const char c : utf8(text)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}
std::string json(std::string_view ascii) { return json(std::u16string(ascii.begin(), ascii.end())); }

std::string px(int twips) { return std::to_string(window::toPixels(twips)); }

// The form's border and the page's margin round it, in CSS pixels: written
// into page.css as --border and --body-margin, and the breakpoint to the
// touch arrangement is computed from them.
constexpr int kBorder = 1;
constexpr int kBodyMargin = 8;

// The table as custom properties: each control's box in pixels of the table
// (inside Frame1, from Frame1's corner, as the page nests them there), its
// place in the stacking order, and the form's sizes and fonts.
std::string layoutCss() {
    const window::Box diagram = window::kDiagramBox;
    const window::FontRow& title = window::kTitleFont;
    std::ostringstream css;
    css << "/* Written by make_page from the window's layout table. */\n"
        << ":root{--form-width:" << px(window::kClientWidth) << ";--form-height:" << px(window::kClientHeight)
        << ";--border:" << kBorder << "px;--body-margin:" << kBodyMargin << "px"
        // CSS pixels are 96 an inch.
        << ";--font-size:" << window::pointsToPixels(window::kDesignPointSize)
        << ";--title-font-size:" << window::pointsToPixels(title.pointSize)
        << ";--title-font-weight:" << title.weight << ";--title-font-family:\"" << utf8(title.family) << '"'
        << ";--diagram-left:" << px(diagram.left) << ";--diagram-top:" << px(diagram.top)
        << ";--diagram-width:" << px(diagram.width) << ";--diagram-height:" << px(diagram.height) << "}\n";
    for (std::size_t depth = 0; depth < window::kStackOrder.size(); ++depth) {
        const Row row = window::kStackOrder[depth];
        const window::ControlRow& c = kControls[row];
        css << '#' << c.name << "{--left:" << px(c.left) << ";--top:" << px(c.top) << ";--width:" << px(c.width)
            << ";--height:" << px(c.height) << ";--z:" << window::kStackOrder.size() - depth << "}\n";
    }
    return css.str();
}

std::string control(Row row) {
    const window::ControlRow& c = kControls[row];
    const std::string id = std::string(c.name);
    const std::string data = " id=\"" + id + "\" data-row=\"" + std::to_string(row) + "\"";
    switch (c.kind) {
    case Kind::CommandButton: {
        const auto button = std::find_if(window::kButtons.begin(), window::kButtons.end(),
                                         [&c](const window::ButtonRow& b) { return b.control == c.name; });
        // Not ready until the calculator has loaded; page.js says so.
        const bool clears = button != window::kButtons.end() && button->command == window::Command::Clear;
        return "<button type=\"button\"" + data + (clears ? " data-clears" : "") + " aria-disabled=\"true\">"
               + html(c.caption) + "</button>";
    }
    case Kind::TextBox:
        return "<input type=\"text\"" + data
               + " autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\" value=\"" + html(c.caption) + "\">";
    case Kind::Frame: break;
    case Kind::Label:
        if (row == window::kL1Row) // the command's message: announced when it changes
            return "<div class=\"label\" role=\"status\"" + data + " data-longest=\"" + html(window::longestText(row))
                   + "\">" + html(c.caption) + "</div>";
        if (row == kTitleRow) return "<h1 class=\"label\"" + data + ">" + html(c.caption) + "</h1>";
        if (inDiagram(row)) // read as part of the figure's description, not one by one
            return "<div class=\"label\" aria-hidden=\"true\"" + data + ">" + html(c.caption) + "</div>";
        if (const Row field = window::fieldNamedBy(row); field != kNone)
            return "<label class=\"label\" for=\"" + std::string(kControls[field].name) + "\"" + data + ">"
                   + html(c.caption) + "</label>";
        throw std::logic_error(std::string(c.name) + " is neither the title, a field's label, l1 nor the diagram's");
    }
    throw std::logic_error("Frame1 is written by formHtml");
}

// In reading order: the title; the diagram, one figure; then the controls
// that take the focus in the keyboard order, each field after the label that
// names it, Frame1's inside a fieldset; l1 last. The focus thus moves through
// the page in the table's keyboard order, and a screen reader reads each
// label before its field.
std::string formHtml() {
    std::vector<bool> written(kControls.size());
    std::ostringstream out;
    const auto write = [&](Row row) {
        out << control(row) << '\n';
        written[row] = true;
    };
    write(kTitleRow);
    out << "<figure class=\"diagram\" aria-labelledby=\"diagram-description\">\n<svg viewBox=\"0 0 "
        << px(window::kClientWidth) << ' ' << px(window::kClientHeight) << "\" aria-hidden=\"true\">";
    for (const window::LineRow& l : window::kLines)
        out << "<line x1=\"" << px(l.x1) << "\" y1=\"" << px(l.y1) << "\" x2=\"" << px(l.x2) << "\" y2=\"" << px(l.y2)
            << "\"/>";
    out << "</svg>\n";
    for (const Row row : window::sortedRows([](Row a, Row b) { return kControls[a].tabIndex < kControls[b].tabIndex; }))
        if (inDiagram(row)) write(row);
    out << "</figure>\n";

    bool inFrame = false;
    for (const Row row : window::kTabOrder) {
        if (written[row]) throw std::logic_error("a row comes twice");
        if (kControls[row].inFrame1 != inFrame) {
            if (!inFrame && written[kFrame]) throw std::logic_error("Frame1's fields are not together in the keyboard order");
            if (inFrame) out << "</fieldset>\n";
            else out << "<fieldset class=\"frame\" id=\"Frame1\" data-row=\"" << kFrame << "\"><legend>"
                     << html(kControls[kFrame].caption) << "</legend>\n";
            written[kFrame] = true;
            inFrame = !inFrame;
        }
        if (const Row label = window::labelOf(row); label != kNone) write(label);
        write(row);
    }
    if (inFrame) out << "</fieldset>\n";
    write(window::kL1Row);
    if (std::find(written.begin(), written.end(), false) != written.end())
        throw std::logic_error("a row of the table has no place on the page");
    return out.str();
}

// The page's facts for its tests.
std::string layoutJson() {
    std::ostringstream out;
    out << "{\n\"title\": " << json(window::kTitle) << ",\n\"width\": " << px(window::kClientWidth)
        << ",\n\"height\": " << px(window::kClientHeight) << ",\n\"lowestResult\": " << commands::kLowestResult
        << ",\n\"highestResult\": " << commands::kHighestResult << ",\n\"controls\": {";
    for (Row row = 0; row < kControls.size(); ++row) {
        const window::ControlRow& c = kControls[row];
        const window::Box b = window::windowBox(row);
        const char* kind = c.kind == Kind::CommandButton ? "CommandButton"
                         : c.kind == Kind::TextBox       ? "TextBox"
                         : c.kind == Kind::Frame         ? "Frame"
                                                         : "Label";
        const Row label = c.kind == Kind::TextBox ? window::labelOf(row) : kNone;
        out << (row ? ",\n" : "\n") << json(c.name) << ": {\"kind\": \"" << kind << "\", \"caption\": " << json(c.caption)
            << ", \"longest\": " << json(window::longestText(row)) << ", \"box\": [" << px(b.left) << ", " << px(b.top)
            << ", " << px(b.width) << ", " << px(b.height) << "], \"tab\": " << c.tabIndex
            << ", \"label\": " << (label == kNone ? "null" : json(kControls[label].name)) << '}';
    }
    out << "\n},\n\"fields\": [";
    for (std::size_t i = 0; i < window::kTextFieldRows.size(); ++i)
        out << (i ? ", " : "") << json(kControls[window::kTextFieldRows[i]].name);
    out << "],\n\"keyboardOrder\": [";
    for (std::size_t i = 0; i < window::kTabOrder.size(); ++i)
        out << (i ? ", " : "") << json(kControls[window::kTabOrder[i]].name);
    out << "]\n}\n";
    return out.str();
}

// The widest viewport that cannot show the form at the table's pixels: the
// form, its two borders and the body's two margins.
std::string touchMedia() {
    const int needed = window::toPixels(window::kClientWidth) + 2 * kBorder + 2 * kBodyMargin;
    return "(max-width: " + std::to_string(needed - 1) + ".98px)";
}

// Replaces every `marker`; the template must have at least one.
void replace(std::string& text, std::string_view marker, const std::string& with) {
    std::size_t at = text.find(marker);
    if (at == std::string::npos) throw std::runtime_error("the template has no " + std::string(marker));
    for (; at != std::string::npos; at = text.find(marker, at + with.size())) text.replace(at, marker.size(), with);
}

std::string read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in) throw std::runtime_error(std::string("cannot read ") + path);
    return text;
}

void write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::fputs("usage: make_page TEMPLATE PAGE_CSS SITE_FOLDER LAYOUT_JSON\n", stderr);
        return 2;
    }
    try {
        std::string page = read(argv[1]);
        replace(page, "@TITLE@", html(window::kTitle));
        replace(page, "@FORM@", formHtml());
        replace(page, "@DIAGRAM@",
                html(std::u16string(window::kDiagramName) + u"：" + std::u16string(window::kDiagramDescription)));
        replace(page, "@TOUCH_MEDIA@", touchMedia());
        const std::string site = argv[3];
        write(site + "/index.html", page);
        write(site + "/page.css", layoutCss() + '\n' + read(argv[2]));
        write(argv[4], layoutJson());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_page: %s\n", error.what());
        return 1;
    }
}
