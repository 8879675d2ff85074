#include "ui/Controls.h"

void Control::SetText(std::u16string_view text) const {
    m_toolkit.SetText(m_id, std::make_shared<const WideString>(text));
}
