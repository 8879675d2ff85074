#include "tests/support/DialogFixture.h"

#include "process/ProcessState.h"

void ResetProcessState() {
    g_documentsDir.clear();
    g_autoFileDir.clear();
    g_resultDir.clear();
    g_tempDir.clear();
    g_fileText = std::make_shared<const WideString>();
    g_fileTextIsNumberList = true;
    g_settings = {};
    g_numbers.clear();
    g_lineIndex = 0;
    g_cancelRequested = 0;
    g_autoRunArmed = 0;
    g_autoFileDirMadeHere = false;
}

DialogTest::DialogTest() : toolkit(m_documents.path()) {
    ResetProcessState();
    std::filesystem::create_directory(m_documents / "Merrow");
}
