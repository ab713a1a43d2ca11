#pragma once

#include <QComboBox>
#include <QStringList>

// An editable drop-down whose text stays exactly as the user typed it (no
// completion, no change of case, nothing added to the list) and whose one
// line is a FormLineEdit. Opening the list highlights the item that the
// typed text starts, ignoring case, or none; Return or a click picks the
// highlighted item. The wheel steps through the items only while the combo
// has the focus, and never takes it.
class FormComboBox final : public QComboBox {
public:
    FormComboBox(const QStringList& items, QWidget* parent);

    void showPopup() override;

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HighlightTheItemTheTextStarts();
};
