// The calculator's only window on Qt 6 Widgets, built from the layout tables.
// The form (window/form.h) does what a click does; this skin makes the
// widgets, lays them out, draws the diagram, routes the button clicks and
// Enter to the form, and shows the form's texts and reports.
#pragma once

#include <QAccessibleInterface>
#include <QPointer>
#include <QWidget>

#include <array>
#include <string_view>

#include "window/form.h"
#include "window/layout.h"

namespace window::qt {

// The user's decimal separator, from the system locale.
char16_t systemDecimalSeparator();

// The table's twips in pixels at 96 dots per inch, times `scale`; a row's box.
int scaled(int twips, double scale);
QRect placed(const Box& box, double scale);
QRect placed(const ControlRow& row, double scale);

// What screen readers are told of Form1 and its title, Frame1 and l1, for
// QAccessible::installFactory: the form in reading order, the diagram one figure.
QAccessibleInterface* accessibleForm1(const QString& className, QObject* object);

class Form1 final : public QWidget, private Skin {
    Q_OBJECT

public:
    explicit Form1(char16_t decimalSeparator = systemDecimalSeparator(), QWidget* parent = nullptr);
    ~Form1() override;

    // The control built from the layout row of that name, or null.
    QWidget* control(std::string_view name) const;
    // Control references the commands hold at this moment; 0 between clicks.
    int heldReferences() const { return form_.heldReferences(); }
    // Pixels per pixel of the table: 1 unless Qt's scaling is off and the
    // fonts are set for more than 96 dots per inch.
    double layoutScale() const { return scale_; }
    // The form's size, which is the window's unless it is maximised.
    QSize clientSize() const;
    // A box of the form (in the window's twips) on the screen.
    QRect onScreen(const Box& box) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followWindowState(Qt::WindowState state);
    std::optional<std::u16string> text(Row row) const override;
    bool setText(Row row, std::u16string_view text) override;
    std::optional<Row> focusedRow() const override;
    void focus(Row row, bool selectText) override;
    void showReport(const Report& report) override;

    std::array<QPointer<QWidget>, kControls.size()> controls_; // in layout order, owned as children
    Form form_;
    double scale_;
    QPoint offset_; // of the form in the window, when the window is larger
};

} // namespace window::qt
