#pragma once

#include <algorithm>
#include <vector>

#include "ui/DialogEvents.h"

// The dialog's events passed on, except clicks, which are only recorded: no box opens, nothing
// starts or closes.
class ClickRecorder final : public DialogEvents {
  public:
    explicit ClickRecorder(DialogEvents& dialog) : m_dialog(dialog) {}

    bool OnInitDialog() override { return m_dialog.OnInitDialog(); }
    void OnClicked(ControlId control) override { m_clicked.push_back(control); }
    void OnCancel() override { m_dialog.OnCancel(); }
    bool AcceptsDrop(std::span<const std::filesystem::path> files) override {
        return m_dialog.AcceptsDrop(files);
    }
    void OnDrop(std::span<const std::filesystem::path> files) override { m_dialog.OnDrop(files); }

    bool Clicked(ControlId control) const {
        return std::find(m_clicked.begin(), m_clicked.end(), control) != m_clicked.end();
    }

  private:
    DialogEvents& m_dialog;
    std::vector<ControlId> m_clicked;
};
