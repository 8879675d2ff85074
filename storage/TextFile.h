#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "core/SharedText.h"
#include "core/TextEncoding.h"

// The longest text the program takes in: its lengths are 32-bit counts.
inline constexpr std::size_t kLongestText = 2147483646;

// The units a number file of bytes decodes to, digits and line breaks being one UTF-16 unit for
// each UTF-8 byte and for each two UTF-16 bytes; nothing above kLongestText. A file whose text
// could not be held is refused from its size, before anything is allocated for it.
std::optional<std::size_t> UnitsOfSize(Encoding encoding, std::uintmax_t bytes);

class ByteSource;

// The text of a number file's size bytes, read from source: a UTF-8, UTF-16LE or UTF-16BE
// byte-order mark names the encoding; without one, a file holding a zero byte is UTF-16LE and any
// other is UTF-8. Every line, the last one included, ends in CR LF; CR LF and a lone LF both end a
// line, while a lone CR stays where it is. Nothing when it cannot be read or holds more than
// kLongestText characters.
std::optional<WideString> ReadText(ByteSource& source, std::uintmax_t size);

// The decoded text of a regular file (links followed), or nothing when the path is not a regular
// file or ReadText gives nothing.
std::optional<WideString> ReadTextFile(const std::filesystem::path& path);

// Replaces the file at path, whole or not at all, with text in UTF-8 on every system, converting
// it a block at a time: 1 on success, 0 when nothing was replaced.
int WriteTextFile(const std::filesystem::path& path, const SharedText& text);
