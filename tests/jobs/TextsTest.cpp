// The program's texts against a copy kept as test data, so that no text changes unnoticed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/TextEncoding.h"
#include "jobs/Messages.h"
#include "tests/support/Printing.h"
#include "ui/ControlTable.h"

namespace {

using Texts = std::map<std::string, WideString>;

Texts KeptTexts() {
    Texts texts;
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
        texts[line.substr(0, tab)] = Utf8ToUtf16(text);
    }
    return texts;
}

TEST(Texts, EveryShownTextMatchesTheKeptCopy) {
    Texts shown;
    for (const auto& [name, text] :
         std::initializer_list<std::pair<const char*, std::u16string_view>>{
             {"kTooLargeForSingle", message::kTooLargeForSingle},
             {"kAutoFileFolderCreated", message::kAutoFileFolderCreated},
             {"kAutoFileFolderNotCreated", message::kAutoFileFolderNotCreated},
             {"kNoFileChosen", message::kNoFileChosen},
             {"kFileUnreadable", message::kFileUnreadable},
             {"kNothingLoaded", message::kNothingLoaded},
             {"kOnlyLineBreaks", message::kOnlyLineBreaks},
             {"kNotDigits", message::kNotDigits},
             {"kWorkerNotStarted", message::kWorkerNotStarted},
             {"kTooLargeInList", message::kTooLargeInList},
             {"kDone", message::kDone},
             {"kNothingToSave", message::kNothingToSave},
             {"kSaveFailed", message::kSaveFailed},
             {"kSaved", message::kSaved},
             {"kAutoInputMissing", message::kAutoInputMissing},
             {"kAutoInputEmpty", message::kAutoInputEmpty},
             {"kAutoInputNotDigits", message::kAutoInputNotDigits},
             {"kAutoInputUnreadable", message::kAutoInputUnreadable},
             {"kAutoResultNotWritten", message::kAutoResultNotWritten},
             {"kAutoInputNotDeleted", message::kAutoInputNotDeleted},
         }) {
        shown[name] = text;
    }
    for (const ControlTemplate& item : MainDialogControls()) {
        if (!item.text.empty()) {
            shown[std::string(item.objectName)] = item.text;
        }
    }
    shown["caption"] = kMainDialog.caption;
    EXPECT_EQ(shown, KeptTexts());
}

}  // namespace
