#pragma once

#include <QString>
#include <algorithm>
#include <string_view>

#include "core/SharedText.h"

inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline QString ToQString(std::string_view ascii) {
    return QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()));
}

// count units of text from from, fewer at the end, without a UTF-16 copy in between.
inline QString ToQString(const SharedText& text, std::size_t from,
                         std::size_t count = SharedText::npos) {
    return text.VisitUnits(
        [&](auto units) { return ToQString(units.substr(std::min(from, units.size()), count)); });
}

inline WideString ToWideString(const QString& text) {
    return WideString(reinterpret_cast<const char16_t*>(text.utf16()),
                      static_cast<std::size_t>(text.size()));
}
