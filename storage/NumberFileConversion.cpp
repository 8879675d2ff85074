#include "storage/NumberFileConversion.h"

#include "core/NumberListStream.h"
#include "storage/AtomicFile.h"

FileConversion ConvertNumberFile(FileSource& input, const std::filesystem::path& result) {
    if (!input.IsOpen()) {
        return FileConversion::Unreadable;
    }
    AtomicFile file(result);
    switch (StreamNumberList(input, [&](std::string_view bytes) { file.Write(bytes); })) {
        case StreamOutcome::Unreadable:
            return FileConversion::Unreadable;
        case StreamOutcome::NotDigits:
            return FileConversion::NotDigits;
        case StreamOutcome::TooLarge:
            return FileConversion::TooLarge;
        case StreamOutcome::Converted:
            break;
    }
    if (!input.Unchanged()) {
        return FileConversion::Unreadable;
    }
    return file.Commit() ? FileConversion::Converted : FileConversion::NotWritten;
}
