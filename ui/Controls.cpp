#include "ui/Controls.h"

void Control::SetText(std::u16string_view text) const {
    m_toolkit.SetText(m_id, std::make_shared<const WideString>(text), nullptr);
}

void SetEnabled(std::span<const Control* const> controls, bool enabled) {
    for (const Control* control : controls) {
        if (enabled) {
            control->Enable();
        } else {
            control->Disable();
        }
    }
}

void Hide(std::span<const Control* const> controls) {
    for (const Control* control : controls) {
        control->Hide();
    }
}
