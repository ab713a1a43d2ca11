#include "caption_fit.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include "window/form_description.h"

namespace {

QString Describe(const QRect& rect) {
    return QString("%1x%2 at (%3,%4)")
        .arg(rect.width())
        .arg(rect.height())
        .arg(rect.x())
        .arg(rect.y());
}

// Where a label's text is drawn, in the label's own coordinates.
QRect Ink(const QLabel& label) {
    return label.fontMetrics().boundingRect(label.contentsRect(),
                                            static_cast<int>(label.alignment()), label.text());
}

QRect InkInContainer(const QLabel& label) { return Ink(label).translated(label.pos()); }

class CaptionMeasure {
public:
    std::vector<QString> Clipped() const { return clipped_; }

    void Label(const QLabel& label) {
        Fits(label, "label", label.text(), Ink(label), label.contentsRect());
        NotUnderSiblings(label, InkInContainer(label));
    }

    void Button(const QPushButton& button) {
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        const QRect room =
            button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
        const QRect ink = button.fontMetrics().boundingRect(
            room, Qt::AlignCenter | Qt::TextShowMnemonic, button.text());
        Fits(button, "button", button.text(), ink, room);
    }

    // The title must lie inside the frame and above every control the frame
    // holds: a control that starts higher would cover it.
    void FrameTitle(const QGroupBox& frame) {
        QStyleOptionGroupBox option;
        option.initFrom(&frame);
        option.text = frame.title();
        option.textAlignment = frame.alignment();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = frame.style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                          QStyle::SC_GroupBoxLabel, &frame);
        const QRect ink = frame.fontMetrics().boundingRect(
            title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, frame.title());
        Fits(frame, "frame title", frame.title(), ink, title);
        Fits(frame, "frame title", frame.title(), title, frame.rect());
        for (const QWidget* inside : frame.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (inside->geometry().intersects(ink)) {
                clipped_.push_back(QString("%1: title \"%2\" %3 is covered by %4 %5")
                                       .arg(frame.objectName(), frame.title(), Describe(ink),
                                            inside->objectName(), Describe(inside->geometry())));
            }
        }
    }

    void Missing(const QString& name) { clipped_.push_back(name + ": no such control"); }

    // A control that reaches past its container is cut off there.
    void InsideContainer(const QWidget& control) {
        const QWidget* container = control.parentWidget();
        if (!container->rect().contains(control.geometry())) {
            clipped_.push_back(QString("%1: %2 reaches outside %3 %4")
                                   .arg(control.objectName(), Describe(control.geometry()),
                                        container->objectName(), Describe(container->rect())));
        }
    }

private:
    void Fits(const QWidget& control, const char* kind, const QString& text, const QRect& ink,
              const QRect& room) {
        if (room.contains(ink)) return;
        clipped_.push_back(
            QString("%1: %2 \"%3\" needs %4, has %5")
                .arg(control.objectName(), kind, text, Describe(ink), Describe(room)));
    }

    // A label's text must not run under another control beside it, nor into
    // another label's text (labels are transparent: their rectangles may
    // overlap, their texts may not).
    void NotUnderSiblings(const QLabel& label, const QRect& inkInContainer) {
        for (const QWidget* sibling :
             label.parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling == &label) continue;
            QRect covered = sibling->geometry();
            if (const auto* other = qobject_cast<const QLabel*>(sibling))
                covered = InkInContainer(*other);
            if (!covered.intersects(inkInContainer)) continue;
            clipped_.push_back(QString("%1: \"%2\" %3 runs into %4 %5")
                                   .arg(label.objectName(), label.text(), Describe(inkInContainer),
                                        sibling->objectName(), Describe(covered)));
        }
    }

    std::vector<QString> clipped_;
};

} // namespace

std::vector<QString> ClippedCaptions(const QWidget& window, const FormDescription& description) {
    CaptionMeasure measure;
    for (const ControlDescription& described : description.controls) {
        const QString name = QString::fromLatin1(described.name.data(),
                                                 static_cast<qsizetype>(described.name.size()));
        const auto* control = window.findChild<const QWidget*>(name);
        if (control == nullptr) {
            measure.Missing(name);
            continue;
        }
        measure.InsideContainer(*control);
        if (const auto* label = qobject_cast<const QLabel*>(control)) measure.Label(*label);
        if (const auto* button = qobject_cast<const QPushButton*>(control)) measure.Button(*button);
        if (const auto* frame = qobject_cast<const QGroupBox*>(control)) measure.FrameTitle(*frame);
    }
    return measure.Clipped();
}
