#include "prompt_fit.h"

#include <QTextLayout>
#include <QTextOption>

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

// The toolkit prepares a whole text before it lays out its first line, which
// is slow for a pasted name of a million characters. The first part of
// a paragraph takes no more room than the whole of it, so when a part
// already overflows, the whole does too: parts grow fourfold up to the
// whole, and a long paragraph that overflows early is decided after little
// more than the part that overflows.
constexpr qsizetype FirstPart = 4096;

bool ParagraphFits(const QString& text, qsizetype start, qsizetype length, const QFont& font,
                   QSize room, qreal& height) {
    for (qsizetype part = FirstPart;; part *= 4) {
        const bool whole = part >= length;
        qreal heightWithPart = height;
        if (!LinesFit(text.sliced(start, whole ? length : part), font, room, heightWithPart))
            return false;
        if (whole) {
            height = heightWithPart;
            return true;
        }
    }
}

} // namespace

bool TextFitsInRoom(const QString& text, const QFont& font, QSize room) {
    qreal height = 0;
    qsizetype start = 0;
    while (true) {
        const qsizetype lineBreak = text.indexOf(u'\n', start);
        const qsizetype end = lineBreak < 0 ? text.size() : lineBreak;
        if (!ParagraphFits(text, start, end - start, font, room, height)) return false;
        if (lineBreak < 0) return true;
        start = lineBreak + 1;
    }
}
