#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "runtime/core/form_host.h"
#include "window/form_description.h"

// A real Qt window built from a form description: one widget per control,
// named after it, placed at its rectangle, in Tab order by TabIndex.
class QtFormWindow final : public QWidget, public FormHost {
public:
    explicit QtFormWindow(const FormDescription& description);

    // Runs the handler on each click of the named button; a run-time error
    // it raises is shown in the error box and the window carries on.
    void OnClick(std::string_view button, std::function<void()> handler);

    // The widget of the named control; raises error 424 when there is none.
    QWidget* Control(std::string_view name) const;

    std::u16string Text(std::string_view control) const override;
    void SetText(std::string_view control, std::u16string_view text) override;
    void ShowMessage(std::u16string_view prompt) override;

private:
    void SetTabOrderAndFocus(const FormDescription& description);
    void SetLabelBuddies(const FormDescription& description);

    std::map<std::string, QWidget*, std::less<>> controls_;
};
