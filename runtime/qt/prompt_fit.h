#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// Whether the text, laid out the way a message box lays out its prompt
// (wrapped between words, never inside one, its line breaks kept), fits
// into the room: no word wider than the room, all its lines together no
// taller. The rule that bounds the time (runtime/core/prompt_room.h) asks
// about starts of the text, so a text of any length is decided in about
// the time one room's worth of it takes.
bool TextFitsInRoom(const QString& text, const QFont& font, QSize room);
