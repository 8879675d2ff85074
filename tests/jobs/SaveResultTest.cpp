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

// A save writes exactly the result's bytes over any old file. Every way a write fails ends in the
// same failed commit, which the file helpers' tests make in each way.
TEST_F(SaveResultTest, WritesTheResultOrReportsWhyNot) {
    const std::filesystem::path saved = m_documents / "saved";
    const Event done = MessageEvent(message::kSaved, MessageIcon::Information);
    const Event failed = MessageEvent(message::kSaveFailed, MessageIcon::Error);
    const struct {
        const char* what;
        std::optional<std::filesystem::path> answer;
        Event message;
    } cases[] = {
        {"over a longer file", saved, done},
        {"dialog cancelled", std::nullopt, failed},
        {"folder missing", m_documents / "missing" / "saved", failed},
    };
    WriteFileBytes(saved, std::string(5000, 'x'));
    Convert("5\r\n3\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        toolkit.ClearEvents();
        toolkit.AnswerSaveDialog(c.answer);
        Click(ControlId::Save);
        EXPECT_EQ(toolkit.Events(Event::Kind::Message), std::vector{c.message});
    }
    EXPECT_EQ(ReadFileBytes(saved), "101\r\n11\r\n");
}

TEST_F(SaveResultTest, AnEmptyResultIsNotSaved) {
    Load("\r\n\r\n");
    Click(ControlId::ConvertFile);
    EXPECT_EQ(toolkit.Text(ControlId::Result), u"");
    EXPECT_EQ(toolkit.Beeps(), 1U);
    ExpectIdle(false);
    Convert("5");
    Convert("\r\n\r\n");
    EXPECT_TRUE(toolkit.State(ControlId::Save).visible) << "still shown from the first run";
    Click(ControlId::Save);
    EXPECT_EQ(toolkit.Events(),
              std::vector{MessageEvent(message::kNothingToSave, MessageIcon::Error)})
        << "no save dialog";
}

}  // namespace
