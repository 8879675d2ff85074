#include "storage/NumberFileConversion.h"

#include "core/NumberListStream.h"
#include "storage/AtomicFile.h"

ConversionOutcome ConvertNumberFile(FileSource& input, const std::filesystem::path& result) {
    if (!input.IsOpen()) {
        return ConversionOutcome::InputUnreadable;
    }
    AtomicFile file(result);
    const ConversionOutcome streamed =
        StreamNumberList(input, [&](std::string_view bytes) { file.Write(bytes); });
    if (streamed != ConversionOutcome::Converted) {
        return streamed;
    }
    if (!input.Unchanged()) {
        return ConversionOutcome::InputUnreadable;
    }
    return file.Commit() ? ConversionOutcome::Converted : ConversionOutcome::ResultNotWritten;
}
