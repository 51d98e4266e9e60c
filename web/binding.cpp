// The form in the browser: the same Form as the desktop windows, over a skin
// whose primitives the page's script implements (page.js, `skin`). Texts
// cross as UTF-16 code units, unchanged, lone surrogates included.
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "window/form.h"

namespace {

// The text of a row's control, in memory the caller frees; null when the
// page has no such control. *length receives its length in code units.
EM_JS(char16_t*, pageText, (int row, int* length), {
    const text = Module.skin.text(row);
    if (typeof text !== "string") return 0;
    const units = _malloc(text.length * 2 + 2);
    if (!units) return 0;
    for (let i = 0; i < text.length; ++i) HEAPU16[(units >> 1) + i] = text.charCodeAt(i);
    HEAP32[length >> 2] = text.length;
    return units;
});

// pageString is binding.js's.
EM_JS(int, pageSetText, (int row, const char16_t* units, int length), {
    return Module.skin.setText(row, pageString(units, length)) ? 1 : 0;
});

EM_JS(int, pageFocusedRow, (), { return Module.skin.focusedRow(); });

EM_JS(void, pageFocus, (int row, int selectText), { Module.skin.focus(row, selectText !== 0); });

EM_JS(void, pageShowReport, (const char16_t* message, int messageLength, const char16_t* unfinished,
                             int unfinishedLength), {
    Module.skin.showReport(pageString(message, messageLength), pageString(unfinished, unfinishedLength));
});

int length(std::u16string_view text) { return static_cast<int>(text.size()); }

class PageSkin final : public window::Skin {
public:
    std::optional<std::u16string> text(window::Row row) const override {
        int units = 0;
        const std::unique_ptr<char16_t, decltype(&std::free)> shown(pageText(static_cast<int>(row), &units), &std::free);
        if (!shown) return std::nullopt;
        return std::u16string(shown.get(), static_cast<std::size_t>(units));
    }
    bool setText(window::Row row, std::u16string_view text) override {
        return pageSetText(static_cast<int>(row), text.data(), length(text)) != 0;
    }
    std::optional<window::Row> focusedRow() const override {
        const int row = pageFocusedRow();
        if (row < 0) return std::nullopt;
        return static_cast<window::Row>(row);
    }
    void focus(window::Row row, bool selectText) override { pageFocus(static_cast<int>(row), selectText); }
    // The page's report box is modal but cannot block: it returns at once,
    // and the page holds back the focus the form gives until it is closed.
    void showReport(const window::Report& report) override {
        pageShowReport(report.message.data(), length(report.message), report.unfinished.data(),
                       length(report.unfinished));
    }
};

PageSkin skin;
std::optional<window::Form> form;

} // namespace

extern "C" {

// The page is ready: the form starts with the user's decimal separator, and
// takes the first focus unless the user has already put it somewhere while
// the page loaded.
EMSCRIPTEN_KEEPALIVE void linterp_open(int decimalSeparator, int focusFree) {
    form.emplace(skin, static_cast<char16_t>(decimalSeparator));
    if (focusFree) form->opened();
}

EMSCRIPTEN_KEEPALIVE void linterp_click(int row) {
    if (form && row >= 0) form->click(static_cast<window::Row>(row));
}

}
