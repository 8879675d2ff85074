#include "storage/NumberFileConversion.h"

#include "core/NumberListStream.h"
#include "storage/AtomicFile.h"
#include "storage/FileSource.h"

FileConversion ConvertNumberFile(const std::filesystem::path& input,
                                 const std::filesystem::path& result) {
    FileSource source(input);
    if (!source.IsOpen()) {
        return FileConversion::Unreadable;
    }
    AtomicFile file(result);
    switch (StreamNumberList(source, [&](std::string_view bytes) { file.Write(bytes); })) {
        case StreamOutcome::Unreadable:
            return FileConversion::Unreadable;
        case StreamOutcome::NotDigits:
            return FileConversion::NotDigits;
        case StreamOutcome::TooLarge:
            return FileConversion::TooLarge;
        case StreamOutcome::Converted:
            break;
    }
    return file.Commit() ? FileConversion::Converted : FileConversion::NotWritten;
}
