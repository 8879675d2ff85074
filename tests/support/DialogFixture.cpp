#include "tests/support/DialogFixture.h"

#include "process/ProcessState.h"

namespace {

// The flags as a process starts with them, read before any test changes them, so that each test
// starts as the program does.
const bool kFileTextIsNumberList = g_fileTextIsNumberList;
const std::int32_t kAutoRunArmed = g_autoRunArmed;
const bool kAutoFileDirMadeHere = g_autoFileDirMadeHere;

}  // namespace

void ResetProcessState() {
    g_documentsDir.clear();
    g_autoFileDir.clear();
    g_resultDir.clear();
    g_tempDir.clear();
    g_fileText = std::make_shared<const WideString>();
    g_fileTextIsNumberList = kFileTextIsNumberList;
    g_settings = {};
    g_numbers.clear();
    g_lineIndex = 0;
    g_cancelRequested = 0;
    g_autoRunArmed = kAutoRunArmed;
    g_autoFileDirMadeHere = kAutoFileDirMadeHere;
}

DialogTest::DialogTest() : toolkit(m_documents.path()) {
    ResetProcessState();
    std::filesystem::create_directory(m_documents / "Merrow");
}
