#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tests/support/DialogFixture.h"

// A started dialog with helpers to load a number file and run it.
class FileRunTest : public DialogTest {
  protected:
    FileRunTest() { Start(); }

    void Load(std::string_view bytes, const char* name = "numbers.txt") {
        WriteFileBytes(m_documents / name, bytes);
        toolkit.Type(ControlId::BrowseFile, (m_documents / name).u16string());
        Click(ControlId::LoadFile);
        toolkit.JoinWorker();
    }
    void OpenMessageGate() {
        Click(ControlId::AutoRun);
        Click(ControlId::ShowMessages);
        toolkit.ClearEvents();
    }
    // The percentages the progress text showed, in order.
    std::vector<int> ShownPercentages() const;
    void ExpectIdle(bool saveShown) const;
    void ExpectEnabled(const std::vector<ControlId>& controls, bool enabled) const;

    // What a run or a load disables and its end enables again.
    static inline const std::vector<ControlId> kRunControls = {
        ControlId::AutoRun,  ControlId::ShowMessages, ControlId::About, ControlId::Convert,
        ControlId::LoadFile, ControlId::ConvertFile,  ControlId::Save,  ControlId::Exit,
        ControlId::Decimal,  ControlId::BrowseFile};
};
