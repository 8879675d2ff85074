#include "core/DecimalToBinary.h"
#include "jobs/Messages.h"
#include "jobs/TallowDlg.h"

void CTallowDlg::OnBnClickedConvert() {
    m_editBinary.SetText(u"");
    const ParsedDecimal<std::int32_t> number =
        ParseDecimal<std::int32_t>(std::u16string_view(m_editDecimal.Text().Wide()));
    if (number.outOfRange) {
        m_toolkit.ShowMessage(message::kTooLargeForSingle, MessageIcon::Error);
        return;
    }
    WideString binary;
    AppendBinary(number.value, binary);
    m_editBinary.SetText(std::make_shared<const WideString>(std::move(binary)));
}
