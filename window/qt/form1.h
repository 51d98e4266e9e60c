// The calculator's only window, built from the layout tables. It binds the
// form fields the commands see to its widgets, routes the two button clicks
// to the commands, and reports a command's error in a message box.
#pragma once

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>
#include <string_view>

#include "commands/form_fields.h"
#include "window/report.h"

class QLabel;
class QLineEdit;

namespace window {

class Form1 final : public QWidget, public commands::FormFields {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    rt::TextBox& textBox(commands::TextField field) override;
    rt::Label& l1() override;

    // The control built from the layout row of that name, or null.
    QWidget* control(std::string_view name) const;
    // Control references the commands hold at this moment; 0 between clicks.
    int heldReferences() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TextBoxBinding;
    class LabelBinding;

    void dispatch(void (*command)(commands::FormFields&), Command which);

    std::array<QPointer<QWidget>, 22> controls_; // in layout order, owned as children
    std::array<std::unique_ptr<TextBoxBinding>, 6> textBoxes_;
    std::unique_ptr<LabelBinding> l1_;
};

} // namespace window
