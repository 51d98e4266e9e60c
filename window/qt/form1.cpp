#include "window/qt/form1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <vector>

#include "window/qt/application.h"
#include "window/qt/fit.h"
#include "window/qt/qstring.h"

namespace window::qt {

namespace {

constexpr Row kYRow = rowOf(commands::TextField::y);

// A field holds one line: a pasted text's line breaks become spaces before
// it is shown, in the edit that the paste makes (so Ctrl+Z undoes it whole).
class OneLine final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& cursor) const override {
        if (input.contains(QLatin1Char('\n')) || input.contains(QLatin1Char('\r'))) {
            // A CR LF becomes one space: the cursor moves back by what went before it.
            cursor = static_cast<int>(Form::oneLine(input.left(cursor).toStdU16String()).size());
            input = toQString(Form::oneLine(input.toStdU16String()));
        }
        return Acceptable;
    }
};

// The widget a layout row becomes, without its container.
QWidget* newControl(Row i) {
    const ControlRow& row = kControls[i];
    const QString caption = toQString(row.caption);
    switch (row.kind) {
    case Kind::CommandButton: {
        auto* button = new QPushButton(caption);
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setAccessibleName(toQString(accessibleName(i)));
        return button;
    }
    case Kind::TextBox: {
        auto* edit = new QLineEdit;
        edit->setAccessibleName(toQString(accessibleName(i)));
        edit->setValidator(new OneLine(edit));
        return edit;
    }
    case Kind::Frame: return new QGroupBox(caption);
    case Kind::Label: break;
    }
    auto* label = new QLabel(caption);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(false);
    return label;
}

// The widget a layout row becomes, named and in its container, before it is
// placed. Named first: a screen reader may ask for the widget's accessible
// interface as soon as it joins the window, and accessibleForm1 goes by name.
QWidget* makeControl(Row row, QWidget* container) {
    QWidget* widget = newControl(row);
    widget->setObjectName(toQString(kControls[row].name));
    widget->setParent(container);
    return widget;
}

// The form's rows as a screen reader meets them: the controls of one
// container (the window or Frame1) in reading order, the diagram's labels
// standing for the one figure they caption.
enum class Container { Window, Frame1 };
std::vector<Row> readRows(Container container) {
    std::vector<Row> rows;
    bool figure = false;
    for (const Row row : kReadingOrder) {
        if (kControls[row].inFrame1 != (container == Container::Frame1)) continue;
        if (inDiagram(row)) {
            if (figure) continue;
            figure = true;
        }
        rows.push_back(row);
    }
    return rows;
}

class DiagramFigure;

// Marks the interfaces accessibleForm1 makes for the controls.
class OwnInterface {
public:
    virtual ~OwnInterface() = default;
};

// A container of the form (the window or Frame1) whose children a screen
// reader meets in reading order.
class InReadingOrder : public QAccessibleWidget {
public:
    InReadingOrder(QWidget* widget, QAccessible::Role role, const Form1& form, Container container)
        : QAccessibleWidget(widget, role), form_(form), rows_(readRows(container)) {}
    int childCount() const override { return static_cast<int>(rows_.size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        return childFor(rows_[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child) return i;
        return -1;
    }

protected:
    virtual QAccessibleInterface* childFor(Row row) const {
        return QAccessible::queryAccessibleInterface(form_.control(kControls[row].name));
    }

private:
    const Form1& form_;
    std::vector<Row> rows_;
};

// Form1 to a screen reader: a window, which a plain top-level QWidget does
// not say of itself, whose children come in reading order, the diagram one
// figure among them.
class FormWindow : public InReadingOrder {
public:
    explicit FormWindow(Form1* form) : InReadingOrder(form, QAccessible::Window, *form, Container::Window) {}
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

private:
    QAccessibleInterface* childFor(Row row) const override { return inDiagram(row) ? figure() : InReadingOrder::childFor(row); }
    QAccessibleInterface* figure() const;
    mutable QAccessible::Id figure_ = 0;
};

// The diagram: its lines and captions, read as one figure with a name and a
// description instead of five scattered labels.
class DiagramFigure final : public QAccessibleInterface {
public:
    explicit DiagramFigure(Form1* form) : form_(form) {}
    bool isValid() const override { return !form_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return form_ ? form_->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(form_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return toQString(kDiagramName);
        if (kind == QAccessible::Description) return toQString(kDiagramDescription);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !form_ || !form_->isVisible();
        return state;
    }
    QRect rect() const override { return form_ && form_->isVisible() ? form_->onScreen(kDiagramBox) : QRect(); }

private:
    QPointer<Form1> form_;
};

FormWindow::~FormWindow() {
    if (figure_) QAccessible::deleteAccessibleInterface(figure_);
}

QAccessibleInterface* FormWindow::figure() const {
    if (!figure_) figure_ = QAccessible::registerAccessibleInterface(new DiagramFigure(static_cast<Form1*>(widget())));
    return QAccessible::accessibleInterface(figure_);
}

// Frame1, 参数: a group whose fields come in keyboard order, each after its label.
class ParameterGroup : public InReadingOrder, public OwnInterface {
public:
    ParameterGroup(QGroupBox* box, const Form1& form) : InReadingOrder(box, QAccessible::Grouping, form, Container::Frame1) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? static_cast<QGroupBox*>(widget())->title() : QAccessibleWidget::text(kind);
    }
    // Its title labels what it holds, as each of them says.
    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        auto related = QAccessibleWidget::relations(match);
        if (match & QAccessible::Labelled)
            for (int i = 0; i < childCount(); ++i)
                if (QAccessibleInterface* held = child(i)) related.append({held, QAccessible::Labelled});
        return related;
    }
};

// The title, 两点线性差值, as the heading it is.
class Heading : public QAccessibleWidget, public OwnInterface {
public:
    explicit Heading(QLabel* label) : QAccessibleWidget(label, QAccessible::Heading) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QAccessibleWidget::text(kind);
    }
};

// l1 to a screen reader: a status line, whose text is what it says, that
// describes the result field y. Where Qt has no such relation (before 6.6)
// it labels y instead, as its buddy; y names it among its labels either way.
class StatusLine : public QAccessibleWidget, public OwnInterface {
public:
    explicit StatusLine(QLabel* label) : QAccessibleWidget(label, QAccessible::StatusBar) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QAccessibleWidget::text(kind);
    }
    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        auto related = QAccessibleWidget::relations(match);
        QAccessibleInterface* y = QAccessible::queryAccessibleInterface(static_cast<QLabel*>(widget())->buddy());
        if (!y) return related;
        if (match & QAccessible::Labelled) related.append({y, QAccessible::Labelled});
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        if (match & QAccessible::Described) related.append({y, QAccessible::Described});
#endif
        return related;
    }
};

// Tells a screen reader what changed, where Qt can (6.8 and later): the
// result as "y = 4", a message as it stands.
void announce(QWidget* widget, const QString& message) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(widget, message);
    QAccessible::updateAccessibility(&event);
#else
    (void)widget;
    (void)message;
#endif
}

} // namespace

QAccessibleInterface* accessibleForm1(const QString& className, QObject* object) {
    if (!object->isWidgetType()) return nullptr;
    if (className == QLatin1String(Form1::staticMetaObject.className()))
        return new FormWindow(static_cast<Form1*>(object));
    auto* widget = static_cast<QWidget*>(object);
    const auto* form = qobject_cast<Form1*>(widget->parentWidget());
    if (!form || form->control(widget->objectName().toStdString()) != widget) return nullptr;
    const Row row = rowOf(widget->objectName().toStdString());
    if (row == kL1Row) return new StatusLine(static_cast<QLabel*>(widget));
    if (row == kTitleRow) return new Heading(static_cast<QLabel*>(widget));
    if (auto* box = qobject_cast<QGroupBox*>(widget)) return new ParameterGroup(box, *form);
    return nullptr;
}

char16_t systemDecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 ? point.front().unicode() : u'.';
}

int scaled(int twips, double scale) { return static_cast<int>(std::lround(toPixels(twips) * scale)); }

QRect placed(const Box& box, double scale) {
    const int left = scaled(box.left, scale), top = scaled(box.top, scale);
    return {left, top, scaled(box.left + box.width, scale) - left, scaled(box.top + box.height, scale) - top};
}

QRect placed(const ControlRow& row, double scale) { return placed(Box{row.left, row.top, row.width, row.height}, scale); }

// Qt scales a window's pixels with the screen, unless told not to
// (QT_ENABLE_HIGHDPI_SCALING=0); then only the fonts follow the desktop's
// font DPI, and the form, drawn for 96, grows with them.
Form1::Form1(char16_t decimalSeparator, QWidget* parent)
    : QWidget(parent), form_(*this, decimalSeparator), scale_(logicalDpiY() / 96.0) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(kTitle));
    setFixedSize(clientSize());
    // A fixed-size window offers no maximise button, whether the desktop or
    // Qt itself (on Wayland, without server-side decorations) draws the frame.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);

    for (Row i = 0; i < kControls.size(); ++i) {
        const ControlRow& row = kControls[i];
        QWidget* widget = makeControl(i, row.inFrame1 ? control("Frame1") : this);
        widget->setGeometry(placed(row, scale_));
        // The font the desktop hands this kind of control (a platform theme
        // may give labels, buttons and fields each their own), capped, and set
        // on the control itself so that a font the theme hands out later does
        // not undo the fitting below.
        widget->ensurePolished();
        widget->setFont(cappedFont(widget->font()));
        controls_[i] = widget;
    }

    QFont titleFont;
    titleFont.setFamilies(installedFamilies(toQString(kTitleFont.family)));
    titleFont.setPointSizeF(kTitleFont.pointSize);
    titleFont.setWeight(static_cast<QFont::Weight>(kTitleFont.weight));
    control(kTitleFont.control)->setFont(titleFont);
    for (Row i = 0; i < kControls.size(); ++i) {
        const Row field = fieldNamedBy(i);
        fitCaption(*controls_[i], toQString(longestText(i)),
                   field < kControls.size() ? controls_[field].data() : nullptr);
    }

    // raise() puts a widget on top, so the bottom of the stack goes first.
    for (auto row = kStackOrder.rbegin(); row != kStackOrder.rend(); ++row) controls_[*row]->raise();
    for (Row i = 1; i < kTabOrder.size(); ++i) setTabOrder(controls_[kTabOrder[i - 1]], controls_[kTabOrder[i]]);

    // Each field is labelled by its caption, and y by l1 too: a screen
    // reader then says the message with the field it is about.
    for (Row i = 0; i < kControls.size(); ++i)
        if (const Row field = fieldNamedBy(i); field < kControls.size())
            static_cast<QLabel*>(controls_[i].data())->setBuddy(controls_[field]);
    static_cast<QLabel*>(controls_[kL1Row].data())->setBuddy(controls_[kYRow]);
    // Qt makes a control's accessible interface while building it (a label's
    // text, a field's name are announced), before the control has its name
    // and so before accessibleForm1 can tell which it is. Those it tells of
    // are made again.
    for (const Row row : {kTitleRow, rowOf("Frame1"), kL1Row}) {
        QAccessibleInterface* built = QAccessible::queryAccessibleInterface(controls_[row]);
        if (built && !dynamic_cast<OwnInterface*>(built)) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(built));
    }

    for (const ButtonRow& button : kButtons) {
        const Row row = window::rowOf(button.control);
        auto* widget = qobject_cast<QPushButton*>(controls_[row]);
        widget->installEventFilter(this);
        connect(widget, &QPushButton::clicked, this, [this, row] { form_.click(row); });
    }
    form_.opened();
}

Form1::~Form1() = default;

QSize Form1::clientSize() const { return {scaled(kClientWidth, scale_), scaled(kClientHeight, scale_)}; }

QRect Form1::onScreen(const Box& box) const { return placed(box, scale_).translated(mapToGlobal(offset_)); }

QWidget* Form1::control(std::string_view name) const {
    const Row row = window::rowOf(name);
    return row < controls_.size() ? controls_[row] : nullptr;
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.translate(offset_);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0)); // thin, solid
    for (const LineRow& line : kLines)
        painter.drawLine(scaled(line.x1, scale_), scaled(line.y1, scale_), scaled(line.x2, scale_), scaled(line.y2, scale_));
}

// The window has one size, and says so to the desktop. Yet the title bar Qt
// draws itself on Wayland (where the compositor draws none, as weston and
// GNOME) offers maximise all the same, and a maximised window must take the
// size the compositor gives it: weston ends a program whose next frame does
// not. So while the window is maximised or full screen it may grow, from the
// moment it asks, and the form stands in its middle; once the compositor has
// put it back, it has its own size again. Nothing typed is touched.
void Form1::showEvent(QShowEvent* event) {
    if (QWindow* window = windowHandle())
        connect(window, &QWindow::windowStateChanged, this, &Form1::followWindowState, Qt::UniqueConnection);
    QWidget::showEvent(event);
}

void Form1::followWindowState(Qt::WindowState state) {
    if (state == Qt::WindowMaximized || state == Qt::WindowFullScreen) setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void Form1::changeEvent(QEvent* event) {
    // The state the window system confirms: back from maximised, or never
    // there, the window takes its one size again.
    constexpr Qt::WindowStates wholeScreen = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (event->type() == QEvent::WindowStateChange) {
        if (windowState() & wholeScreen) setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        else setFixedSize(clientSize());
    }
    QWidget::changeEvent(event);
}

void Form1::resizeEvent(QResizeEvent* event) {
    offset_ = QPoint(std::max(0, (width() - clientSize().width()) / 2), std::max(0, (height() - clientSize().height()) / 2));
    for (Row i = 0; i < kControls.size(); ++i)
        if (!kControls[i].inFrame1) controls_[i]->setGeometry(placed(kControls[i], scale_).translated(offset_));
    QWidget::resizeEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const std::optional<Row> row = rowIn(controls_, watched);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && row && Form::enterPresses(*row)) {
            static_cast<QAbstractButton*>(watched)->animateClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::optional<std::u16string> Form1::text(Row row) const {
    if (auto* edit = qobject_cast<QLineEdit*>(controls_[row])) return edit->text().toStdU16String();
    if (auto* label = qobject_cast<QLabel*>(controls_[row])) return label->text().toStdU16String();
    return std::nullopt;
}

bool Form1::setText(Row row, std::u16string_view text) {
    if (auto* edit = qobject_cast<QLineEdit*>(controls_[row])) edit->setText(toQString(text));
    else if (auto* label = qobject_cast<QLabel*>(controls_[row])) label->setText(toQString(text));
    else return false;
    if (text.empty()) return true;
    if (row == kYRow) announce(controls_[row], toQString(announcement(row, text)));
    else if (row == kL1Row) announce(controls_[row], toQString(text));
    return true;
}

std::optional<Row> Form1::focusedRow() const { return rowIn(controls_, QApplication::focusWidget()); }

void Form1::focus(Row row, bool selectText) {
    if (!controls_[row]) return;
    controls_[row]->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(controls_[row]); edit && selectText) edit->selectAll();
}

void Form1::showReport(const Report& report) {
    QMessageBox box(QMessageBox::Warning, toQString(kTitle), toQString(report.message), QMessageBox::Ok, this);
    box.setInformativeText(toQString(report.unfinished));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // Not every platform gives the activation back when the box closes.
    activateWindow();
}

} // namespace window::qt
