#pragma once

#include <QComboBox>

// A drop-down list with an editable text field, unsorted, that keeps what is
// typed as typed. The box is narrow, so while it does not have the focus it
// shows the start of its text, and its list opens as wide as its longest entry.
class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);

    void showPopup() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void showStartUnlessFocused();
};
