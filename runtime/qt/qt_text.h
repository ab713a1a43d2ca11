#pragma once

#include <QString>
#include <string>
#include <string_view>

// The program keeps its texts as UTF-16, as QString does: the conversions
// copy code units unchanged, lone surrogates included.
inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline QString ToQString(std::string_view latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

inline std::u16string ToU16String(const QString& text) { return text.toStdU16String(); }
