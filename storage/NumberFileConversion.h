#pragma once

#include <filesystem>

enum class FileConversion { Converted, Unreadable, NotDigits, TooLarge, NotWritten };

// Converts the number file input into the result file in one pass over blocks, holding neither
// the text, the numbers nor the result. The result file is replaced, whole, only when the input
// was read whole, holds nothing but digits and line breaks, and no number is too large.
FileConversion ConvertNumberFile(const std::filesystem::path& input,
                                 const std::filesystem::path& result);
