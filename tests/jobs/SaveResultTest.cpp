#include <gtest/gtest.h>

#include "jobs/Messages.h"
#include "tests/jobs/FileRunFixture.h"
#include "tests/support/Printing.h"

namespace {

class SaveResultTest : public FileRunTest {
  protected:
    void Convert(std::string_view numbers) {
        Load(numbers);
        Click(ControlId::ConvertFile);
        toolkit.ClearRecords();
    }
};

TEST_F(SaveResultTest, WritesExactlyTheResultBytesOverAnyOldFile) {
    Convert("5\r\n3\r\n");
    const auto target = m_documents / "saved";
    WriteFileBytes(target, std::string(5000, 'x'));
    toolkit.AnswerSaveDialog(target);
    Click(ControlId::Save);
    EXPECT_EQ(ReadFileBytes(target), "101\r\n11\r\n");
    EXPECT_EQ(toolkit.MessageTexts(), std::vector<std::u16string>{std::u16string(message::kSaved)});
    const SaveDialogOptions options = toolkit.LastSaveDialog().value();
    EXPECT_EQ(options.filterName, u"全て(*.*)");
    EXPECT_EQ(options.filterPattern, u"*.*");
    EXPECT_TRUE(options.askBeforeReplacing);
}

TEST_F(SaveResultTest, ReportsEveryWayASaveFails) {
    const struct {
        const char* what;
        std::optional<std::filesystem::path> answer;
    } cases[] = {
        {"dialog cancelled", std::nullopt},
        {"folder missing", m_documents / "missing" / "saved"},
        {"a folder in the way", m_documents.path()},
        {"a read-only file", m_documents / "read-only"},
    };
    WriteFileBytes(m_documents / "read-only", "kept");
    std::filesystem::permissions(m_documents / "read-only", std::filesystem::perms::owner_read);
    Convert("5");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        toolkit.ClearRecords();
        toolkit.AnswerSaveDialog(c.answer);
        Click(ControlId::Save);
        ASSERT_EQ(toolkit.Messages().size(), 1U);
        EXPECT_EQ(toolkit.Messages()[0].text, message::kSaveFailed);
        EXPECT_EQ(toolkit.Messages()[0].icon, MessageIcon::Error);
    }
    EXPECT_EQ(ReadFileBytes(m_documents / "read-only"), "kept");
}

TEST_F(SaveResultTest, AnEmptyResultIsNotSaved) {
    Convert("5");
    Convert("\r\n\r\n");
    EXPECT_TRUE(toolkit.State(ControlId::Save).visible) << "still shown from the first run";
    Click(ControlId::Save);
    EXPECT_EQ(toolkit.MessageTexts(),
              std::vector<std::u16string>{std::u16string(message::kNothingToSave)});
    EXPECT_EQ(
        toolkit.Calls(),
        (std::vector<std::string>{"message " + std::string(Utf16ToUtf8(message::kNothingToSave))}));
}

}  // namespace
