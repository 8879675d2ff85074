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
        toolkit.ClearEvents();
    }
};

TEST_F(SaveResultTest, WritesExactlyTheResultBytesOverAnyOldFile) {
    Convert("5\r\n3\r\n");
    const auto target = m_documents / "saved";
    WriteFileBytes(target, std::string(5000, 'x'));
    toolkit.AnswerSaveDialog(target);
    Click(ControlId::Save);
    EXPECT_EQ(ReadFileBytes(target), "101\r\n11\r\n");
    EXPECT_EQ(toolkit.MessageTexts(), std::vector{WideString(message::kSaved)});
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
        toolkit.ClearEvents();
        toolkit.AnswerSaveDialog(c.answer);
        Click(ControlId::Save);
        EXPECT_EQ(toolkit.Events(Event::Kind::Message),
                  std::vector{MessageEvent(message::kSaveFailed, MessageIcon::Error)});
    }
    EXPECT_EQ(ReadFileBytes(m_documents / "read-only"), "kept");
}

TEST_F(SaveResultTest, AnEmptyResultIsNotSaved) {
    Convert("5");
    Convert("\r\n\r\n");
    EXPECT_TRUE(toolkit.State(ControlId::Save).visible) << "still shown from the first run";
    Click(ControlId::Save);
    EXPECT_EQ(toolkit.Events(),
              std::vector{MessageEvent(message::kNothingToSave, MessageIcon::Error)})
        << "no save dialog";
}

}  // namespace
