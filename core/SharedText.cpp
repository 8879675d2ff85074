#include "core/SharedText.h"

SharedText::SharedText() : m_wide(std::make_shared<const WideString>()) {}

SharedText::SharedText(SharedWideString wide) : m_wide(std::move(wide)) {}

SharedText SharedText::FromAscii(std::shared_ptr<const ByteString> ascii) {
    SharedText text(nullptr);
    text.m_ascii = std::move(ascii);
    return text;
}

std::size_t SharedText::Size() const {
    return VisitUnits([](auto units) { return units.size(); });
}

std::size_t SharedText::Find(char16_t unit, std::size_t from) const {
    if (m_ascii && unit >= 0x80) {
        return npos;
    }
    return VisitUnits([&](auto units) {
        using Char = typename decltype(units)::value_type;
        return units.find(static_cast<Char>(unit), from);
    });
}

std::size_t SharedText::CopyInto(char16_t* target, std::size_t from, std::size_t count) const {
    return VisitUnits([&](auto units) {
        const auto part = units.substr(std::min(from, units.size()), count);
        std::copy(part.begin(), part.end(), target);
        return part.size();
    });
}

WideString SharedText::Copy(std::size_t from, std::size_t count) const {
    WideString copy(std::min(count, Size() - std::min(from, Size())), u'\0');
    CopyInto(copy.data(), from, count);
    return copy;
}
