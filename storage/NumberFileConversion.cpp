#include "storage/NumberFileConversion.h"

#include <algorithm>

#include "core/NumberListStream.h"
#include "storage/AtomicFile.h"
#include "storage/BackgroundWriter.h"

ConversionOutcome ConvertNumberFile(FileSource& input, const std::filesystem::path& result) {
    if (!input.IsOpen()) {
        return ConversionOutcome::InputUnreadable;
    }
    AtomicFile file(result);
    ConversionOutcome streamed = ConversionOutcome::InputUnreadable;
    {
        BackgroundWriter writer(file);
        // Blocks as large as the input needs, up to the usual size: a one-number job allocates
        // kilobytes.
        constexpr std::uintmax_t kSmallest = 4096;
        const auto block = static_cast<std::size_t>(
            std::clamp<std::uintmax_t>(input.Size(), kSmallest, kStreamBlock));
        streamed = StreamNumberList(input, writer, block);
    }
    if (streamed != ConversionOutcome::Converted) {
        return streamed;
    }
    if (!input.Unchanged()) {
        return ConversionOutcome::InputUnreadable;
    }
    return file.Commit() ? ConversionOutcome::Converted : ConversionOutcome::ResultNotWritten;
}
