// The program's messages against a copy kept as test data, so that none changes unnoticed. The
// controls' texts have one source, the control table, which the dialog resource is held to.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "core/TextEncoding.h"
#include "jobs/Messages.h"
#include "tests/support/Printing.h"

namespace {

// The texts of the kept copy, in its order.
std::vector<WideString> KeptTexts() {
    std::vector<WideString> texts;
    std::ifstream file(std::filesystem::path(TALLOW_TEST_DATA) / "texts.txt");
    for (std::string line; std::getline(file, line);) {
        const std::size_t tab = line.find('\t');
        if (line.starts_with('#') || tab == std::string::npos) {
            continue;
        }
        std::string text = line.substr(tab + 1);
        for (std::size_t at; (at = text.find("\\r\\n")) != std::string::npos;) {
            text.replace(at, 4, "\r\n");
        }
        texts.push_back(Utf8ToUtf16(text));
    }
    return texts;
}

template <typename... Text>
std::vector<WideString> Texts(Text... texts) {
    return {WideString(texts)...};
}

TEST(Texts, EveryMessageMatchesTheKeptCopy) {
    using namespace message;
    std::vector<WideString> shown = Texts(
        kTooLargeForSingle, kAutoFileFolderCreated, kAutoFileFolderNotCreated, kMakerFolderMissing,
        kAutoFileFolderFailed, kNoFileChosen, kFileUnreadable, kNothingLoaded, kOnlyLineBreaks,
        kNotDigits, kWorkerNotStarted, kTooLargeInList, kDone, kNothingToSave, kSaveFailed, kSaved,
        kOutOfMemory, kAutoInputMissing, kAutoInputEmpty, kAutoInputNotDigits, kAutoInputUnreadable,
        kAutoResultNotWritten, kAutoInputNotDeleted);
    EXPECT_EQ(shown, KeptTexts());
}

}  // namespace
