#pragma once

// The four-byte settings file: "1" or "0" for the automatic-mode box, CR LF, then "1" or "0" for
// the show-messages box.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/TextTypes.h"

inline constexpr std::string_view kSettingsFileName = "Radix2A.tmp";

// The file's text: its bytes, read into buffer, up to the first zero byte or the end of the
// buffer. Nothing when path is not a regular file; an empty text when it cannot be read.
std::optional<WideString> ReadSettingsText(const std::filesystem::path& path,
                                           std::span<char> buffer);

// Fills the two slots from the text's first two lines. A text of 10,000 characters or more
// stores nothing.
void ParseSettingsText(std::u16string_view text, std::array<WideString, 2>& settings);

std::string SettingsBytes(bool autoRunTicked, bool showMessagesTicked);
