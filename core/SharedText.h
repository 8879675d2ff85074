#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

#include "core/TextTypes.h"

// A text as the controls hold it: shared, never copied, read from any thread. Its units are
// UTF-16; a text made only of units below U+0080 (the binary digits of a result) may be held one
// byte per unit, which halves the memory of a ten-million-line result.
class SharedText {
  public:
    static constexpr std::size_t npos = std::u16string_view::npos;

    SharedText();
    // Implicit: every text the program reads or types is UTF-16.
    SharedText(SharedWideString wide);
    // ascii must hold units below 0x80 only.
    static SharedText FromAscii(std::shared_ptr<const ByteString> ascii);

    // Calls visit with the units as they are held: a std::u16string_view or a std::string_view.
    template <typename Visit>
    decltype(auto) VisitUnits(Visit&& visit) const {
        if (m_ascii) {
            return visit(std::string_view(*m_ascii));
        }
        return visit(std::u16string_view(*m_wide));
    }

    std::size_t Size() const;
    bool Empty() const { return Size() == 0; }
    char16_t At(std::size_t index) const {
        return VisitUnits([index](auto units) { return static_cast<char16_t>(units[index]); });
    }
    // Like std::u16string_view::find.
    std::size_t Find(char16_t unit, std::size_t from) const;
    // Writes count units from from, fewer at the end, to target; returns how many.
    std::size_t CopyInto(char16_t* target, std::size_t from, std::size_t count) const;
    WideString Copy(std::size_t from, std::size_t count = npos) const;
    WideString Wide() const { return Copy(0); }

    bool operator==(std::u16string_view other) const {
        return VisitUnits([other](auto units) {
            return std::equal(units.begin(), units.end(), other.begin(), other.end());
        });
    }
    bool Shares(const SharedWideString& wide) const { return m_wide == wide; }

  private:
    SharedWideString m_wide;
    std::shared_ptr<const ByteString> m_ascii;
};
