#include "qt_accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>

#include "qt_combo_box.h"
#include "qt_form_window.h"

namespace {

// The combo as the toolkit presents an editable combo (its list and its edit
// field as children, the actions that open the list), but named as every
// other input is: by its label.
class LabelledComboAccessible final : public QAccessibleWidget {
public:
    explicit LabelledComboAccessible(FormComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return Combo()->currentText();
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return 2; }

    QAccessibleInterface* child(int index) const override {
        if (index == ListIndex) return QAccessible::queryAccessibleInterface(Combo()->view());
        if (index == FieldIndex) return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) return -1;
        if (child->object() == Combo()->view()) return ListIndex;
        if (child->object() == Combo()->lineEdit()) return FieldIndex;
        return -1;
    }

    // The list is a popup of its own; only the edit field lies inside.
    QAccessibleInterface* childAt(int x, int y) const override {
        QAccessibleInterface* field = child(FieldIndex);
        return field != nullptr && field->rect().contains(x, y) ? field : nullptr;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = Combo()->view()->isVisible();
        state.editable = true;
        return state;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    QString localizedActionDescription(const QString& action) const override {
        if (!actionNames().contains(action)) return {};
        return QComboBox::tr("Open the combo box selection popup");
    }

    void doAction(const QString& action) override {
        if (!actionNames().contains(action)) return;
        if (Combo()->view()->isVisible()) {
            Combo()->hidePopup();
        } else {
            Combo()->showPopup();
        }
    }

    QStringList keyBindingsForAction(const QString& /*action*/) const override { return {}; }

private:
    static constexpr int ListIndex = 0;
    static constexpr int FieldIndex = 1;

    FormComboBox* Combo() const { return static_cast<FormComboBox*>(widget()); }
};

QAccessibleInterface* FormAccessibleFactory(const QString& /*className*/, QObject* object) {
    if (auto* combo = dynamic_cast<FormComboBox*>(object))
        return new LabelledComboAccessible(combo);
    if (auto* form = dynamic_cast<QtFormWindow*>(object)) {
        return new QAccessibleWidget(form, QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void InstallFormAccessibility() { QAccessible::installFactory(FormAccessibleFactory); }
