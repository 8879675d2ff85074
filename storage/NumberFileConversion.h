#pragma once

#include <filesystem>

#include "core/ConversionOutcome.h"
#include "storage/FileSource.h"

// Converts the open number file input into the result file in one pass over blocks, holding
// neither the text, the numbers nor the result, and writing on a second thread while the next
// blocks convert. The result file is replaced, whole, only when the input was read whole and did
// not change meanwhile, holds nothing but digits and line breaks, and no number is too large. Any
// outcome but InputMissing, InputEmpty and InputNotDeleted.
ConversionOutcome ConvertNumberFile(FileSource& input, const std::filesystem::path& result);
