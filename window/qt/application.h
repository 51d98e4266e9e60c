// What the calculator sets up once, before its window: identity, fonts that
// can show Simplified Chinese, and the user's decimal separator.
#pragma once

class QApplication;

namespace window {

// 9 points: the layout's 17-pixel labels and 18-pixel fields are sized for it.
inline constexpr int kFontPointSize = 9;

void setUpApplication(QApplication& app);

} // namespace window
