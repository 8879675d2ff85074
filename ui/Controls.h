#pragma once

// Handles through which the dialog works on its controls, one member per control.

#include <span>
#include <string_view>

#include "ui/Toolkit.h"

class Control {
  public:
    Control(Toolkit& toolkit, ControlId id) : m_toolkit(toolkit), m_id(id) {}

    ControlId Id() const { return m_id; }
    // Each returns whether the control was visible before.
    bool Show() const { return m_toolkit.SetVisible(m_id, true); }
    bool Hide() const { return m_toolkit.SetVisible(m_id, false); }
    void Enable() const { m_toolkit.SetEnabled(m_id, true); }
    void Disable() const { m_toolkit.SetEnabled(m_id, false); }
    SharedText Text() const { return m_toolkit.GetText(m_id); }
    void SetText(SharedText text, std::shared_ptr<const LineIndex> index = nullptr) const {
        m_toolkit.SetText(m_id, std::move(text), std::move(index));
    }
    void SetText(std::u16string_view text) const;

  protected:
    Toolkit& m_toolkit;

  private:
    ControlId m_id;
};

class CheckBox : public Control {
  public:
    using Control::Control;
    bool IsChecked() const { return m_toolkit.IsChecked(Id()); }
    void SetChecked(bool checked) const { m_toolkit.SetChecked(Id(), checked); }
};

class ProgressBar : public Control {
  public:
    using Control::Control;
    void SetRange(std::int32_t maximum) const { m_toolkit.SetProgressRange(Id(), maximum); }
    void SetPosition(std::int32_t position) const { m_toolkit.SetProgressPosition(Id(), position); }
};

// Enables or disables each control, in the order given.
void SetEnabled(std::span<const Control* const> controls, bool enabled);
void Hide(std::span<const Control* const> controls);
