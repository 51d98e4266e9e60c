// Form1 as a user meets it, headless (QT_QPA_PLATFORM=offscreen), with real
// widgets and real key and mouse events.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QGlyphRun>
#include <QRawFont>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "failing_clicks.h"
#include "test_locale.h"
#include "window/qt/application.h"
#include "window/qt/fit.h"
#include "window/qt/form1.h"
#include "window/layout.h"

namespace {

using window::qt::Form1;
using window::Kind;
using window::kControls;

QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
QString qs(std::u16string_view text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

class Window : public testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    QLineEdit* field(std::string_view name) { return qobject_cast<QLineEdit*>(form.control(name)); }
    QPushButton* button(std::string_view name) { return qobject_cast<QPushButton*>(form.control(name)); }
    QLabel* l1() { return qobject_cast<QLabel*>(form.control("l1")); }
    // Key by key; a character no key names (a Chinese input method's "。")
    // arrives as the text of a key event, as an input method commits it.
    void type(std::string_view name, const QString& text) {
        field(name)->clear();
        for (const QChar c : text) {
            if (c.unicode() < 0x80) QTest::keyClick(field(name), c.toLatin1());
            else QTest::sendKeyEvent(QTest::Click, field(name), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void fill(const QString& x1, const QString& y1, const QString& x2, const QString& y2, const QString& x) {
        type("x1", x1);
        type("y1", y1);
        type("x2", x2);
        type("y2", y2);
        type("x", x);
    }
    // Clicks a button that will open a message box; returns the box's texts
    // after pressing Enter in it.
    QStringList clickExpectingBox(std::string_view name) {
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen << box->windowTitle() << box->text() << box->informativeText();
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) seen << ok->text();
            QTest::keyClick(box, Qt::Key_Enter);
        });
        QTest::mouseClick(button(name), Qt::LeftButton);
        // The window is active again once the box has gone.
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return seen;
    }

    Form1 form;
};

// Layout.

TEST_F(Window, EveryControlStandsWhereTheTableSays) {
    EXPECT_EQ(form.windowTitle(), qs(window::kTitle));
    const double scale = form.layoutScale();
    EXPECT_EQ(form.size(), QSize(window::qt::scaled(window::kClientWidth, scale), window::qt::scaled(window::kClientHeight, scale)));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()); // not resizable
    QWidget* frame1 = form.control("Frame1");
    for (const auto& row : kControls) {
        SCOPED_TRACE(std::string(row.name));
        QWidget* widget = form.control(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), row.inFrame1 ? frame1 : &form);
        EXPECT_EQ(widget->geometry(), window::qt::placed(row, scale));
        EXPECT_TRUE(widget->isVisible());
        switch (row.kind) {
        case Kind::CommandButton: {
            auto* b = qobject_cast<QPushButton*>(widget);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->text(), qs(row.caption));
            EXPECT_FALSE(b->isDefault() || b->autoDefault());
            EXPECT_EQ(b->accessibleName(), qs(row.caption)); // as shown, on every platform
            break;
        }
        case Kind::TextBox: {
            auto* e = qobject_cast<QLineEdit*>(widget);
            ASSERT_NE(e, nullptr);
            EXPECT_TRUE(e->text().isEmpty());
            EXPECT_FALSE(e->isReadOnly());
            EXPECT_EQ(e->maxLength(), 32767); // Qt's default: no limit of ours
            EXPECT_EQ(e->accessibleName(), qs(kControls[window::labelOf(window::rowOf(row.name))].caption));
            break;
        }
        case Kind::Frame:
            ASSERT_NE(qobject_cast<QGroupBox*>(widget), nullptr);
            EXPECT_EQ(qobject_cast<QGroupBox*>(widget)->title(), qs(row.caption));
            break;
        case Kind::Label: {
            auto* l = qobject_cast<QLabel*>(widget);
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(l->text(), qs(row.caption));
            EXPECT_EQ(l->textFormat(), Qt::PlainText);
            EXPECT_FALSE(l->wordWrap());
            EXPECT_TRUE(l->alignment() & Qt::AlignLeft);
            break;
        }
        }
    }
    // Under QT_SCALE_FACTOR, or a font DPI above 96, the form is drawn with
    // more pixels: by Qt's scaling, or by the window's own when Qt's is off.
    const auto setting = [](const char* name, double otherwise) {
        return qEnvironmentVariableIsSet(name) ? qEnvironmentVariable(name).toDouble() : otherwise;
    };
    EXPECT_DOUBLE_EQ(form.devicePixelRatioF() * scale, setting("QT_SCALE_FACTOR", 1) * setting("QT_FONT_DPI", 96) / 96);
}

TEST_F(Window, DrawsTheDiagramLines) {
    const QImage image = form.grab().toImage();
    const QColor ink = form.palette().color(QPalette::WindowText);
    const double dpr = image.devicePixelRatio();
    for (const auto& line : window::kLines) {
        SCOPED_TRACE(std::string(line.name));
        // The midpoint of each line is drawn in the text colour.
        const double scale = form.layoutScale();
        const QPointF mid((window::qt::scaled(line.x1, scale) + window::qt::scaled(line.x2, scale)) / 2.0,
                          (window::qt::scaled(line.y1, scale) + window::qt::scaled(line.y2, scale)) / 2.0);
        bool inked = false;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                inked = inked || image.pixelColor(QPoint(int((mid.x() + dx) * dpr), int((mid.y() + dy) * dpr))) == ink;
        EXPECT_TRUE(inked);
    }
}

// Fonts: what actually draws the glyphs, and that every caption fits its box.

struct Drawn {
    QStringList families;
    bool allGlyphsFound = true;
};

Drawn drawnWith(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    Drawn drawn;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        drawn.families << run.rawFont().familyName();
        for (const quint32 glyph : run.glyphIndexes()) drawn.allGlyphsFound = drawn.allGlyphsFound && glyph != 0;
    }
    return drawn;
}

bool isSong(const QString& family) {
    return family.contains("Serif CJK", Qt::CaseInsensitive) || family.contains("UMing", Qt::CaseInsensitive)
        || family.contains("Sung", Qt::CaseInsensitive);
}

TEST_F(Window, ChineseIsDrawnWithRealGlyphsAndTheTitleInASongFace) {
    const QStringList texts = {qs(window::kTitle), "参数", "差 值", "清 除", qs(commands::kEqualAbscissas), "１２．５"};
    for (const QString& text : texts) {
        const Drawn drawn = drawnWith(text, l1()->font());
        EXPECT_TRUE(drawn.allGlyphsFound) << text.toStdString() << " " << drawn.families.join(",").toStdString();
    }
    QWidget* title = form.control("Label12");
    EXPECT_TRUE(title->font().bold());
    EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 14.25);
    const Drawn drawn = drawnWith("两点线性差值", title->font());
    EXPECT_TRUE(drawn.allGlyphsFound);
    // Where a Song/Ming-style face is installed, that is what draws the title.
    bool songInstalled = false;
    for (const QString& family : QFontDatabase::families())
        songInstalled = songInstalled || isSong(family);
    if (songInstalled) {
        for (const QString& family : drawn.families) EXPECT_TRUE(isSong(family)) << family.toStdString();
    }
}

// The characters of `text` that `font` does not draw in their Simplified
// forms: from a face made for another region, or shaped into another
// language's form (OpenType's locl) by a face that has several.
QString notSimplified(const QString& text, const QFont& font) {
    static const QStringList otherRegions = {" JP", " KR", " TC", " HK", "Japanese", "Korean"};
    QString wrong;
    for (const QChar c : text) {
        if (c.unicode() < 0x80) continue;
        QTextLayout layout(QString(c), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun& run : layout.glyphRuns()) {
            const QString family = run.rawFont().familyName();
            const bool otherFace = std::any_of(otherRegions.begin(), otherRegions.end(),
                                               [&](const QString& region) { return family.contains(region); });
            if (otherFace || run.glyphIndexes() != run.rawFont().glyphIndexesForString(QString(c)))
                wrong += c;
        }
    }
    return wrong;
}

// Run under zh_TW, zh_HK, ja_JP and en_US (see CMakeLists.txt): whatever the
// locale, the captions, the title and every report box are Simplified Chinese.
TEST(GlyphForms, EveryTextIsDrawnInSimplifiedFormsWhateverTheLocale) {
    Form1 form;
    for (window::Row i = 0; i < kControls.size(); ++i) {
        const QString text = qs(window::longestText(i));
        EXPECT_EQ(notSimplified(text, form.control(kControls[i].name)->font()).toStdString(), "")
            << kControls[i].name << ": " << text.toStdString();
    }
    const QMessageBox box;
    for (const failing::Click& row : failing::kClicks) {
        const window::Report report = failing::expectedReport(row);
        for (const QString& text : {qs(window::kTitle), qs(report.message), qs(report.unfinished)})
            EXPECT_EQ(notSimplified(text, box.font()).toStdString(), "") << row.name << ": " << text.toStdString();
    }
}

// A label's caption has all its ink inside the box, the line drawn from the
// box's top or centred in it.
void expectInkInside(const QLabel& label, const QString& caption) {
    const QFontMetricsF metrics(label.font());
    const bool centred = label.alignment() & Qt::AlignVCenter;
    const double baseline = metrics.ascent() + (centred ? (label.height() - metrics.height()) / 2 : 0);
    EXPECT_GE(baseline + metrics.tightBoundingRect(caption).top(), 0);
    EXPECT_LE(baseline + metrics.tightBoundingRect(caption).bottom(), label.height());
}

// Every caption of the form, and l1's longest message, drawn whole: each box
// where the table puts it, the caption's advance and ink inside the room the
// box leaves (a label's a pixel short of the field it names), at no less than
// the smallest size we allow, with real glyphs. Returns each control's size.
QStringList expectEveryCaptionWhole(const Form1& form) {
    QStringList sizes;
    for (window::Row i = 0; i < kControls.size(); ++i) {
        const auto& row = kControls[i];
        const QString caption = qs(window::longestText(i));
        if (caption.isEmpty()) continue;
        SCOPED_TRACE(std::string(row.name));
        QWidget* widget = form.control(row.name);
        EXPECT_EQ(widget->geometry(), window::qt::placed(row, form.layoutScale()));
        const window::Row named = window::fieldNamedBy(i);
        const QWidget* field = named < kControls.size() ? form.control(kControls[named].name) : nullptr;
        const double room = window::qt::captionRoom(*widget, field);
        const QFontMetricsF metrics(widget->font());
        EXPECT_LE(metrics.horizontalAdvance(caption), room) << widget->font().pointSizeF() << " pt";
        EXPECT_GE(widget->font().pointSizeF(), window::qt::kSmallestCaptionPointSize);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            expectInkInside(*label, caption);
            const QRectF ink = metrics.tightBoundingRect(caption).translated(std::max(label->indent(), 0), 0);
            EXPECT_GE(ink.left(), 0);
            EXPECT_LE(ink.right(), room); // clear of the field it names
        }
        const Drawn drawn = drawnWith(caption, widget->font());
        EXPECT_TRUE(drawn.allGlyphsFound) << drawn.families.join(",").toStdString();
        sizes << QStringLiteral("%1 %2").arg(qs(row.name)).arg(widget->font().pointSizeF());
    }
    return sizes;
}

TEST_F(Window, EveryCaptionFitsItsBox) {
    expectEveryCaptionWhole(form);
    // The fields' names are drawn at one size, "x =" as "x1=".
    QSet<double> sizes;
    for (window::Row i = 0; i < kControls.size(); ++i)
        if (window::fieldNamedBy(i) < kControls.size()) sizes << form.control(kControls[i].name)->font().pointSizeF();
    EXPECT_EQ(sizes.size(), 1);
    // A field shows its text whole, full-width digits and descenders included.
    // QLineEdit centres the font's line box in its contents and clips to them;
    // the glyphs' ink must fall inside.
    QLineEdit* edit = field("x1");
    QStyleOptionFrame option;
    option.initFrom(edit);
    const QRect content = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QFontMetrics metrics(edit->font());
    const int baseline = (content.height() - metrics.height() + 1) / 2 + metrics.ascent();
    for (const QString& text : {QStringLiteral("－１２．５"), QStringLiteral("0,5gjy"), QStringLiteral("与值")}) {
        const QRect ink = metrics.tightBoundingRect(text);
        EXPECT_GE(baseline + ink.top(), 0) << text.toStdString();
        EXPECT_LE(baseline + ink.bottom(), content.height()) << text.toStdString();
    }
}

// Whatever font the desktop hands the window, every caption is drawn whole in
// its box, with real glyphs; the boxes keep their sizes.
class DesktopFont : public testing::TestWithParam<std::pair<const char*, int>> {
protected:
    void TearDown() override { QApplication::setFont(saved); }
    QFont saved = QApplication::font();
};

TEST_P(DesktopFont, EveryCaptionFitsItsBox) {
    const auto [family, points] = GetParam();
    if (!QFontDatabase::families().contains(family)) GTEST_SKIP() << family << " is not installed";
    QApplication::setFont(QFont(family, points));
    Form1 form;
    expectEveryCaptionWhole(form);
}

INSTANTIATE_TEST_SUITE_P(Fonts, DesktopFont, testing::Values(
    std::pair{"DejaVu Sans", 10}, std::pair{"DejaVu Sans", 11}, std::pair{"Noto Sans", 10},
    std::pair{"Noto Sans", 11}, std::pair{"Cantarell", 11}),
    [](const auto& row) {
        return QString(row.param.first).remove(QLatin1Char(0x20)).toStdString() + std::to_string(row.param.second);
    });

// The font the desktop handed the application before the program set it up.
QFont desktopFont;

// The desktop's font as users set it, through a platform theme: the ctest
// variants ThemeFont.* start this suite under qt6ct with a configuration of
// their own naming one font (LINTERP_THEME_FONT, "family,points"). The theme
// hands that font out after the window exists, class by class; every control
// still shows its caption or message whole, inside its box and clear of its
// neighbour, in the desktop's face.
TEST(ThemeFont, EveryCaptionIsWholeAndClearOfItsNeighbours) {
    const QStringList requested = QString::fromUtf8(qgetenv("LINTERP_THEME_FONT")).split(QLatin1Char(','));
    if (requested.size() != 2) GTEST_SKIP() << "run by the ctest variants ThemeFont.* under qt6ct";
    const QString family = requested[0];
    const int points = requested[1].toInt();
    ASSERT_TRUE(QFontDatabase::families().contains(family)) << family.toStdString() << " is not installed";

    Form1 form{u'.'};
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::qWait(50); // the theme applies its fonts from the event loop
    ASSERT_EQ(desktopFont.family(), family) << "the platform theme did not hand out its font";
    ASSERT_EQ(desktopFont.pointSize(), points);
    QTest::mouseClick(form.control("Command1"), Qt::LeftButton); // two empty abscissas: l1's message
    ASSERT_EQ(qobject_cast<QLabel*>(form.control("l1"))->text(), qs(commands::kEqualAbscissas));

    // Every control in the desktop's face, the title aside.
    for (const auto& row : kControls) {
        if (row.name != window::kTitleFont.control) {
            EXPECT_EQ(form.control(row.name)->font().families().value(0), family) << row.name;
        }
    }
    const QStringList sizes = expectEveryCaptionWhole(form);
    std::printf("%s %d: %s\n", qPrintable(family), points, qPrintable(sizes.join(QStringLiteral(", "))));
}

// What reaches a screen reader: the buttons by their words, l1 as a status
// line that describes y, y's description, and after 差 值 the result and the
// message, announced where Qt can announce (6.8 and later).
std::vector<QString> heard;
void hear(QAccessibleEvent* event) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (event->type() == QAccessible::Announcement)
        heard.push_back(static_cast<QAccessibleAnnouncementEvent*>(event)->message());
#else
    (void)event;
#endif
}

TEST_F(Window, ScreenReadersHearTheButtonsTheResultAndTheMessage) {
    const auto interface = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); };
    // Named as on Windows and the page: as shown.
    EXPECT_EQ(interface(button("Command1"))->text(QAccessible::Name), "差 值");
    EXPECT_EQ(interface(button("Command2"))->text(QAccessible::Name), "清 除");
    EXPECT_EQ(interface(field("y"))->text(QAccessible::Name), "y =");
    EXPECT_EQ(interface(field("x1"))->text(QAccessible::Name), "x1=");

    QAccessibleInterface* status = interface(l1());
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    bool describesY = false;
    for (const auto& [other, relation] : status->relations()) describesY = describesY || other->object() == field("y");
    EXPECT_TRUE(describesY);

    heard.clear();
    QAccessible::setActive(true);
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(hear);
    fill("1", "1", "3", "5", "2.5");
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    type("x2", "1");
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_EQ(status->text(QAccessible::Name), qs(commands::kEqualAbscissas));
    QAccessible::installUpdateHandler(previous);
    QAccessible::setActive(false);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    EXPECT_EQ(heard, (std::vector<QString>{"y = 4", qs(commands::kEqualAbscissas)}));
#else
    EXPECT_TRUE(heard.empty()); // no announcements before Qt 6.8: the status line and its relation carry it
#endif
}

TEST_F(Window, ShowsItsOwnIconAndIsAWindowToScreenReaders) {
    const QIcon icon = form.windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 256}) EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Window);
    EXPECT_EQ(accessible->text(QAccessible::Name), qs(window::kTitle));
}

// Keyboard.

TEST_F(Window, TabCyclesInTheTableOrderStartingAtY1) {
    // The table's keyboard order (form_test pins it), and round to the first.
    std::vector<std::string_view> order;
    for (const window::Row row : window::kTabOrder) order.push_back(window::kControls[row].name);
    order.push_back(order.front());
    EXPECT_EQ(QApplication::focusWidget(), form.control("y1"));
    for (std::size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form.control(order[i])) << order[i];
    }
    for (std::size_t i = order.size() - 1; i-- > 0;) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), form.control(order[i])) << order[i];
    }
}

TEST_F(Window, EnterInAFieldRunsNothing) {
    fill("1", "1", "3", "5", "2");
    for (const char* name : {"x1", "y1", "x2", "y2", "x", "y"}) {
        field(name)->setFocus();
        QTest::keyClick(field(name), Qt::Key_Return);
        QTest::keyClick(field(name), Qt::Key_Enter, Qt::KeypadModifier);
    }
    QTest::qWait(250); // longer than a button's animated click
    EXPECT_TRUE(field("y")->text().isEmpty());
    EXPECT_TRUE(l1()->text().isEmpty());
}

TEST_F(Window, FocusedButtonsArePressedWithSpaceOrEnter) {
    fill("0", "0", "3", "1", "1");
    button("Command1")->setFocus();
    QTest::keyClick(button("Command1"), Qt::Key_Space);
    EXPECT_EQ(field("y")->text(), "0.33");
    button("Command2")->setFocus();
    QTest::keyClick(button("Command2"), Qt::Key_Return);
    // A key press on a button clicks it once its animation ends.
    EXPECT_TRUE(QTest::qWaitFor([this] { return field("x1")->text().isEmpty(); }));
    EXPECT_EQ(QApplication::focusWidget(), button("Command2")); // clearing leaves the focus alone
    type("x1", "1");
    type("x2", "1");
    button("Command1")->setFocus();
    QTest::keyClick(button("Command1"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !l1()->text().isEmpty(); }));
    EXPECT_EQ(l1()->text(), qs(commands::kEqualAbscissas));
}

// The separator comes from the user's locale, and the C library's locale
// (a comma under de_DE) changes no digit of the result.
TEST(WindowLocale, ResultIsWrittenWithTheLocalesSeparator) {
    const QString point(1, QChar(window::qt::systemDecimalSeparator()));
    Form1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const std::vector<std::pair<const char*, QString>> inputs{
        {"x1", "0"}, {"y1", "0"}, {"x2", "3"}, {"y2", "1"}, {"x", "1"}};
    for (const auto& [name, text] : inputs) QTest::keyClicks(form.control(name), text);
    QTest::mouseClick(form.control("Command1"), Qt::LeftButton);
    EXPECT_EQ(qobject_cast<QLineEdit*>(form.control("y"))->text(), "0" + point + "33");
    qobject_cast<QLineEdit*>(form.control("x"))->setText("12" + point + "5");
    QTest::mouseClick(form.control("Command1"), Qt::LeftButton);
    EXPECT_EQ(qobject_cast<QLineEdit*>(form.control("y"))->text(), "4" + point + "17");
}

// Mouse.

TEST_F(Window, ClickComputesThenClearEmptiesEverything) {
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_EQ(l1()->text(), qs(commands::kEqualAbscissas)); // a fresh window: both abscissas empty
    EXPECT_TRUE(field("y")->text().isEmpty());
    fill("1", "1", "3", "5", "2");
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_EQ(field("y")->text(), "3");
    EXPECT_TRUE(l1()->text().isEmpty());
    EXPECT_EQ(form.heldReferences(), 0);
    // A Chinese input method's full stop "。" and a pasted minus sign "−".
    fill("1", "1", "3", "\u22123", "２。５");
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_EQ(field("y")->text(), "-2");
    QTest::mouseClick(button("Command2"), Qt::LeftButton);
    for (const char* name : {"x1", "y1", "x2", "y2", "x", "y"}) EXPECT_TRUE(field(name)->text().isEmpty()) << name;
    EXPECT_TRUE(l1()->text().isEmpty());
}

class WindowErrors : public Window, public testing::WithParamInterface<failing::Click> {};

TEST_P(WindowErrors, ShowTheReportLeaveTheFieldsAndPointAtTheCause) {
    const failing::Click& row = GetParam();
    const auto& in = row.inputs;
    fill(in[0], in[1], in[2], in[3], in[4]);
    type("y", "7");
    l1()->setText("earlier");

    const QStringList box = clickExpectingBox("Command1");
    ASSERT_EQ(box.size(), 4) << "no message box";
    const window::Report report = failing::expectedReport(row, window::qt::systemDecimalSeparator());
    EXPECT_EQ(box[0], qs(window::kTitle));
    EXPECT_EQ(box[1], qs(report.message));
    EXPECT_EQ(box[2], qs(report.unfinished));
    EXPECT_EQ(box[3], "确定"); // Qt's own button speaks Chinese too
    EXPECT_EQ(field("y")->text(), "7");
    EXPECT_EQ(l1()->text(), "earlier");
    EXPECT_EQ(form.heldReferences(), 0);
    QWidget* focus = form.control(row.focus);
    ASSERT_EQ(QApplication::focusWidget(), focus) << row.focus;
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
        // Typing replaces the whole wrong text.
        EXPECT_EQ(edit->selectedText(), edit->text());
        QTest::keyClicks(edit, "2");
        EXPECT_EQ(edit->text(), "2");
    }

    // The program goes on: mend the inputs and compute.
    fill("1", "1", "3", "5", "2");
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    EXPECT_EQ(field("y")->text(), "3");
}

INSTANTIATE_TEST_SUITE_P(Kinds, WindowErrors, testing::ValuesIn(failing::kClicks),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Window, CtrlAEditKeysWorkInEveryField) {
    for (const char* name : {"x1", "y1", "x2", "y2", "x", "y"}) {
        SCOPED_TRACE(name);
        QLineEdit* edit = field(name);
        type(name, "12.5");
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(edit->selectedText(), "12.5");
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier); // cut
        EXPECT_TRUE(edit->text().isEmpty());
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); // paste it back
        EXPECT_EQ(edit->text(), "12.5");
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier); // undo the paste
        EXPECT_TRUE(edit->text().isEmpty());
    }
}

// Pasted lines stay apart as the field shows them, and a box quotes them on
// one line.
TEST_F(Window, APasteOfSeveralLinesIsHeldAsShownOnOneLine) {
    fill("1", "1", "3", "5", "");
    for (const char* pasted : {"2.5\n3", "2.5\r\n3", "2.5\r3"}) {
        SCOPED_TRACE(pasted);
        QGuiApplication::clipboard()->setText(QString::fromLatin1(pasted));
        QLineEdit* edit = field("x");
        edit->clear();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), "2.5 3");
        EXPECT_EQ(edit->cursorPosition(), 5);
        const QStringList box = clickExpectingBox("Command1");
        ASSERT_GE(box.size(), 2);
        EXPECT_TRUE(box[1].contains(QString::fromUtf8("“2.5 3”"))) << box[1].toStdString();
    }
}

TEST_F(Window, AFieldThatIsGoneIsReportedNotFollowed) {
    fill("1", "1", "3", "5", "2");
    delete form.control("y");
    const QStringList box = clickExpectingBox("Command1");
    ASSERT_EQ(box.size(), 4);
    EXPECT_EQ(box[1], qs(window::reportFailure(rt::PropertyError("y", "Text"), window::Command::Interpolate, u'.').message));
    EXPECT_EQ(form.heldReferences(), 0);
    EXPECT_TRUE(l1()->text().isEmpty());
}

// Closing.

// Maximised by the window system (Qt's own title bar on Wayland offers it),
// the window covers the screen with the form in its middle and what was
// typed still there; restored, it has its one size again.
TEST_F(Window, MaximisedTheFormStandsInTheMiddleAndRestoredItHasItsSize) {
    type("x1", "1.5");
    const QSize size = form.size();
    const QRect title = form.control("Label12")->geometry();
    form.showMaximized();
    // QTest::qWaitFor, not QTRY_*: Qt 6.8's macros warn of a narrowing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.width() > size.width() && form.height() > size.height(); }));
    const QPoint offset((form.width() - size.width()) / 2, (form.height() - size.height()) / 2);
    EXPECT_EQ(form.control("Label12")->geometry(), title.translated(offset));
    EXPECT_EQ(field("x1")->text(), "1.5");
    form.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.size() == size; })) << form.width() << "x" << form.height();
    EXPECT_EQ(form.control("Label12")->geometry(), title);
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
}

TEST_F(Window, ClosingEndsTheProgramWithoutAsking) {
    fill("1", "1", "3", "5", "2");
    bool quit = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &form, [&quit] { quit = true; });
    QTimer::singleShot(0, &form, [this] { form.close(); });
    QTimer hang; // a question box would keep the window open
    hang.setSingleShot(true);
    QObject::connect(&hang, &QTimer::timeout, [] { QApplication::exit(1); });
    hang.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(quit);
    EXPECT_FALSE(form.isVisible());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime directory; CI machines often have none.
    const QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    QApplication app(argc, argv);
    desktopFont = QApplication::font();
    testing_locale::applyRequestedLocale();
    window::qt::setUpApplication(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
