#include <gtest/gtest.h>

#include "storage/UserDocuments.h"
#include "tests/support/ScratchFolder.h"

namespace {

// The settings file's lines, and the folder they give below the home folder "/h".
TEST(XdgDocumentsFolder, ReadsTheUserSettingsAsBytes) {
    const struct {
        const char* settings;
        std::string expected;
    } cases[] = {
        {nullptr, "/h/Documents"},
        {"# no entry\n", "/h/Documents"},
        {"XDG_DESKTOP_DIR=\"$HOME/Desk\"\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", "/h/Docs"},
        {"XDG_DOCUMENTS_DIR=\"/data/papers\"\n", "/data/papers"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Doc\xFF\xFEs\"\n", "/h/Doc\xFF\xFEs"},
        {"XDG_DOCUMENTS_DIR=\"relative\"\n", "/h/Documents"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        ScratchFolder config;
        if (c.settings != nullptr) {
            WriteFileBytes(config / "user-dirs.dirs", c.settings);
        }
        EXPECT_EQ(XdgDocumentsFolder("/h", config.path().c_str()).string(), c.expected);
    }
    EXPECT_EQ(XdgDocumentsFolder("", nullptr), std::filesystem::path());
}

}  // namespace
