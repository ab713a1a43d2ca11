#include "prompt_fit.h"

#include <QTextLayout>
#include <QTextOption>

#include "qt_text.h"
#include "runtime/core/prompt_room.h"

namespace {

// Lays out a text without line breaks line by line at the room's width,
// adding the height of its lines to `height`. Returns false as soon as a
// word overflows the width or the lines overflow the height.
bool LinesFit(const QString& text, const QFont& font, QSize room, qreal& height) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    bool fits = true;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room.width());
        height += line.height();
        if (line.naturalTextWidth() > room.width() || height > room.height()) {
            fits = false;
            break;
        }
    }
    layout.endLayout();
    return fits;
}

// The toolkit prepares a whole paragraph before it lays out its first line,
// so a part is measured paragraph by paragraph, and the parts are bounded
// by the rule that asks about them.
bool PartFits(const QString& part, const QFont& font, QSize room) {
    qreal height = 0;
    qsizetype start = 0;
    while (true) {
        const qsizetype lineBreak = part.indexOf(u'\n', start);
        const qsizetype end = lineBreak < 0 ? part.size() : lineBreak;
        if (!LinesFit(part.sliced(start, end - start), font, room, height)) return false;
        if (lineBreak < 0) return true;
        start = lineBreak + 1;
    }
}

} // namespace

bool TextFitsInRoom(const QString& text, const QFont& font, QSize room) {
    const std::u16string_view letters(reinterpret_cast<const char16_t*>(text.constData()),
                                      static_cast<std::size_t>(text.size()));
    return PromptFitsInRoom(letters, [&font, room](std::u16string_view part) {
        return PartFits(ToQString(part), font, room);
    });
}
