#include "box_over_form.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

void KeepBoxOverForm(QWidget& box, const QWidget& form) {
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &box,
                     [&box, &form](QWindow* focused) {
                         if (focused == nullptr || focused != form.windowHandle()) return;
                         if (!box.isVisible()) return;
                         // On Wayland the request carries the form's activation
                         // token; the compositor decides whether to honour it.
                         box.raise();
                         box.activateWindow();
                     });
}
