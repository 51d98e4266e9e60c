// Writes the web page from its template and the window's layout table, so
// that the page, like the desktop windows, is built from the one table.
//   make_page TEMPLATE OUTPUT
// The template's @TITLE@, @LAYOUT@ (CSS) and @FORM@ (HTML) are replaced.
// Built for Node.js with Emscripten and run at build time.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "window/layout.h"

namespace {

using window::Kind;
using window::kControls;
using window::Row;

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

// Captions are plain text; names are identifiers and need no escaping.
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

// A length in the page's unit, --u: one pixel of the table at 100 % zoom,
// less on a screen narrower than the form.
std::string length(int twips) { return "calc(var(--u)*" + std::to_string(window::toPixels(twips)) + ")"; }

constexpr Row kFrame = window::rowOf("Frame1");

std::string layoutCss() {
    std::ostringstream css;
    css << "#Form1{width:" << length(window::kClientWidth) << ";height:" << length(window::kClientHeight) << "}\n";
    for (std::size_t depth = 0; depth < window::kStackOrder.size(); ++depth) {
        const Row row = window::kStackOrder[depth];
        const window::ControlRow& c = kControls[row];
        const int left = c.left + (c.inFrame1 ? kControls[kFrame].left : 0);
        const int top = c.top + (c.inFrame1 ? kControls[kFrame].top : 0);
        css << '#' << c.name << "{left:" << length(left) << ";top:" << length(top) << ";width:" << length(c.width)
            << ";height:" << length(c.height) << ";z-index:" << window::kStackOrder.size() - depth << "}\n";
    }
    const window::FontRow& title = window::kTitleFont;
    // Points to CSS pixels: 96 pixels an inch, 72 points.
    css << '#' << title.control << "{font-size:calc(var(--u)*" << title.pointSize * 96 / 72
        << ");font-weight:" << title.weight << ";font-family:\"" << utf8(title.family) << "\",var(--serif)}\n";
    css << "#Form1{font-size:calc(var(--u)*" << window::kDesignPointSize * 96 / 72 << ")}\n";
    return css.str();
}

std::string control(Row row) {
    const window::ControlRow& c = kControls[row];
    const std::string id = std::string(c.name);
    const std::string data = " id=\"" + id + "\" data-row=\"" + std::to_string(row) + "\"";
    switch (c.kind) {
    case Kind::CommandButton:
        return "<button type=\"button\"" + data + ">" + html(c.caption) + "</button>";
    case Kind::TextBox:
        return "<input type=\"text\"" + data
               + " autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\" value=\"" + html(c.caption) + "\">";
    case Kind::Frame:
        return "<div class=\"frame\"" + data + "><span>" + html(c.caption) + "</span></div>";
    case Kind::Label:
        break;
    }
    if (row == window::kL1Row) // the command's message: announced when it changes
        return "<div class=\"label\" role=\"status\"" + data + ">" + html(c.caption) + "</div>";
    for (const Row field : window::kTextFieldRows)
        if (window::labelOf(field) == row)
            return "<label class=\"label\" for=\"" + std::string(kControls[field].name) + "\"" + data + ">"
                   + html(c.caption) + "</label>";
    return "<div class=\"label\"" + data + ">" + html(c.caption) + "</div>";
}

std::string formHtml() {
    std::ostringstream out;
    // The diagram underneath, in the table's pixels.
    out << "<svg class=\"diagram\" viewBox=\"0 0 " << window::toPixels(window::kClientWidth) << ' '
        << window::toPixels(window::kClientHeight) << "\" aria-hidden=\"true\">";
    for (const window::LineRow& l : window::kLines)
        out << "<line x1=\"" << window::toPixels(l.x1) << "\" y1=\"" << window::toPixels(l.y1) << "\" x2=\""
            << window::toPixels(l.x2) << "\" y2=\"" << window::toPixels(l.y2) << "\"/>";
    out << "</svg>\n";
    // In tab index order, so that the browser's keyboard order and a screen
    // reader's reading order are the table's.
    const auto byTab = window::sortedRows([](Row a, Row b) { return kControls[a].tabIndex < kControls[b].tabIndex; });
    for (const Row row : byTab) out << control(row) << '\n';
    return out.str();
}

// Replaces every `marker`; the template must have at least one.
void replace(std::string& text, std::string_view marker, const std::string& with) {
    std::size_t at = text.find(marker);
    if (at == std::string::npos) throw std::runtime_error("the template has no " + std::string(marker));
    for (; at != std::string::npos; at = text.find(marker, at + with.size())) text.replace(at, marker.size(), with);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: make_page TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in) {
        std::fprintf(stderr, "make_page: cannot read %s\n", argv[1]);
        return 1;
    }
    try {
        replace(page, "@TITLE@", html(window::kTitle));
        replace(page, "@LAYOUT@", layoutCss());
        replace(page, "@FORM@", formHtml());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_page: %s\n", error.what());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << page;
    if (!out.flush()) {
        std::fprintf(stderr, "make_page: cannot write %s\n", argv[2]);
        return 1;
    }
}
