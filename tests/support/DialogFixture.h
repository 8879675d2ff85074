#pragma once

#include <gtest/gtest.h>

#include "jobs/TallowDlg.h"
#include "storage/WorkingFolders.h"
#include "tests/support/FakeToolkit.h"
#include "tests/support/ScratchFolder.h"

// Puts the process-wide state back as it is at process start.
void ResetProcessState();

// A dialog on the fake toolkit, with a Documents folder of its own that holds the maker folder.
class DialogTest : public ::testing::Test {
  protected:
    DialogTest();
    ~DialogTest() override { toolkit.JoinWorker(); }

    std::filesystem::path Documents() const { return m_documents.path(); }
    std::filesystem::path ProductFolder() const { return ::ProductFolder(Documents()); }
    // Starts the dialog as the program does.
    void Start() { dialog.OnInitDialog(); }
    void Click(ControlId control) { toolkit.Click(dialog, control); }

    ScratchFolder m_documents;
    FakeToolkit toolkit;
    CTallowDlg dialog{toolkit};
};
