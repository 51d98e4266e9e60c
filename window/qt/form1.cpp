#include "window/qt/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

#include <optional>

#include "commands/commands.h"
#include "window/binding.h"
#include "window/layout.h"
#include "window/report.h"

namespace window {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString fromText(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixels(const ControlRow& row) {
    return {toPixels(row.left), toPixels(row.top), toPixels(row.width), toPixels(row.height)};
}

// A caption is drawn from the top of its box. Where the font's line is taller
// than the box (the title's Song face at 19 pixels), the line is centred
// instead, which raises the glyphs into the box.
void fitIntoBox(QLabel* label) {
    const QFontMetricsF metrics(label->font());
    if (metrics.ascent() + metrics.tightBoundingRect(label->text()).bottom() > label->height())
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace

// The commands' view of a text field: its Text, read and written. A read of a
// field whose widget is gone fails, and the command raises the property error.
class Form1::TextBoxBinding final : public Counted<rt::TextBox> {
public:
    TextBoxBinding(std::string_view name, QLineEdit* edit) : Counted(name), edit_(edit) {}

    rt::Status GetText(rt::Str& text) override {
        if (!edit_) return rt::Status::Failed;
        rt::StrMove(text, edit_->text().toStdU16String());
        return rt::Status::Ok;
    }
    rt::Status LetText(std::u16string_view text) override {
        if (!edit_) return rt::Status::Failed;
        edit_->setText(fromText(text));
        return rt::Status::Ok;
    }

private:
    QPointer<QLineEdit> edit_;
};

class Form1::LabelBinding final : public Counted<rt::Label> {
public:
    explicit LabelBinding(QLabel* label) : Counted("l1"), label_(label) {}

    rt::Status LetCaption(std::u16string_view caption) override {
        if (!label_) return rt::Status::Failed;
        label_->setText(fromText(caption));
        return rt::Status::Ok;
    }

private:
    QPointer<QLabel> label_;
};

Form1::Form1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle(fromUtf8(kTitle));
    setFixedSize(toPixels(kClientWidth), toPixels(kClientHeight));
    // A fixed-size window offers no maximise button, whether the desktop or
    // Qt itself (on Wayland, without server-side decorations) draws the frame.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);

    QWidget* frame1 = nullptr;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlRow& row = kControls[i];
        QWidget* container = row.inFrame1 ? frame1 : this;
        const QString caption = fromUtf8(row.caption);
        QWidget* widget = nullptr;
        switch (row.kind) {
        case Kind::CommandButton: {
            auto* button = new QPushButton(caption, container);
            button->setAutoDefault(false);
            button->setDefault(false);
            button->setAccessibleName(caption);
            button->installEventFilter(this);
            widget = button;
            break;
        }
        case Kind::TextBox: {
            auto* edit = new QLineEdit(container);
            edit->setAccessibleName(fromUtf8(row.name));
            widget = edit;
            break;
        }
        case Kind::Frame:
            widget = frame1 = new QGroupBox(caption, container);
            break;
        case Kind::Label: {
            auto* label = new QLabel(caption, container);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(false);
            widget = label;
            break;
        }
        }
        widget->setObjectName(fromUtf8(row.name));
        widget->setGeometry(pixels(row));
        controls_[i] = widget;
    }

    QFont titleFont(fromUtf8(kTitleFont.family));
    titleFont.setPointSizeF(kTitleFont.pointSize);
    titleFont.setWeight(static_cast<QFont::Weight>(kTitleFont.weight));
    control(kTitleFont.control)->setFont(titleFont);

    for (QLabel* label : findChildren<QLabel*>()) fitIntoBox(label);

    // A field label's box overlaps its field; the field stays on top, so that
    // all of it takes clicks.
    for (std::size_t i = 0; i < kControls.size(); ++i)
        if (kControls[i].kind == Kind::TextBox || kControls[i].kind == Kind::CommandButton)
            controls_[i]->raise();

    for (std::size_t i = 0; i < commands::kTextFieldNames.size(); ++i) {
        const std::string_view name = commands::kTextFieldNames[i];
        textBoxes_[i] = std::make_unique<TextBoxBinding>(name, qobject_cast<QLineEdit*>(control(name)));
    }
    l1_ = std::make_unique<LabelBinding>(qobject_cast<QLabel*>(control("l1")));

    // Keyboard order: the controls that take the focus, by tab index.
    QWidget* previous = nullptr;
    for (const std::size_t i : kTabOrder) {
        if (controls_[i]->focusPolicy() & Qt::TabFocus) {
            if (previous) setTabOrder(previous, controls_[i]);
            else controls_[i]->setFocus(Qt::OtherFocusReason);
            previous = controls_[i];
        }
    }

    connect(qobject_cast<QPushButton*>(control("Command1")), &QPushButton::clicked, this,
            [this] { dispatch(commands::Command1_Click, Command::Interpolate); });
    connect(qobject_cast<QPushButton*>(control("Command2")), &QPushButton::clicked, this,
            [this] { dispatch(commands::Command2_Click, Command::Clear); });
}

Form1::~Form1() = default;

rt::TextBox& Form1::textBox(commands::TextField field) {
    return *textBoxes_[static_cast<std::size_t>(field)];
}

rt::Label& Form1::l1() { return *l1_; }

QWidget* Form1::control(std::string_view name) const {
    const std::size_t row = rowOf(name);
    return row < controls_.size() ? controls_[row] : nullptr;
}

int Form1::heldReferences() const { return window::heldReferences(l1_, textBoxes_); }

void Form1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0)); // thin, solid
    for (const LineRow& line : kLines)
        painter.drawLine(toPixels(line.x1), toPixels(line.y1), toPixels(line.x2), toPixels(line.y2));
}

// A focused button is pressed with Enter as with Space, although neither
// button is a default button that Enter would press from anywhere else.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            static_cast<QAbstractButton*>(watched)->animateClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// A command's error is reported here, where the click arrives. The fields
// stay as the command left them. Afterwards
// the cursor goes to the field at fault, its text selected so that typing
// replaces it, or back to where it was.
void Form1::dispatch(void (*command)(commands::FormFields&), Command which) {
    const std::optional<Report> report = runCommand(command, which, *this);
    if (!report) return;
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QMessageBox box(QMessageBox::Warning, fromUtf8(kTitle), fromText(report->message), QMessageBox::Ok, this);
    box.setInformativeText(fromText(report->unfinished));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    // Not every platform gives the activation back when the box closes.
    activateWindow();
    QPointer<QLineEdit> edit;
    if (report->field)
        edit = qobject_cast<QLineEdit*>(control(commands::kTextFieldNames[static_cast<std::size_t>(*report->field)]));
    if (edit) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    } else if (focus) {
        focus->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace window
