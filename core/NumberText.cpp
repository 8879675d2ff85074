#include "core/NumberText.h"

#include <algorithm>

bool CheckNumberText(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char16_t c) { return ClassifyListCharacter(c) != ListCharacter::Other; });
}
