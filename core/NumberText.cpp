#include "core/NumberText.h"

#include <algorithm>

bool CheckNumberText(std::u16string_view text) {
    ListCharacterReader reader;
    return std::all_of(text.begin(), text.end(),
                       [&](char16_t c) { return reader.Next(c) != ListCharacter::Other; });
}
