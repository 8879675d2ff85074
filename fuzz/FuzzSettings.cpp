// A settings file's bytes through the parse. Properties: a text of 10,000 characters or more
// fills nothing; otherwise the two slots hold the first two lines, without CR, without
// characters beyond ASCII and nothing after a zero; no more than two slots exist to fill.
#include <array>
#include <cstdint>

#include "core/TextEncoding.h"
#include "fuzz/FuzzCheck.h"
#include "storage/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const WideString text =
        DecodeText(Encoding::Utf8, std::string_view(reinterpret_cast<const char*>(data), size));
    std::array<WideString, 2> settings;
    ParseSettingsText(text, settings);
    if (text.size() >= 10'000) {
        FUZZ_CHECK(settings[0].empty() && settings[1].empty());
        return 0;
    }

    std::array<WideString, 2> expected;
    std::size_t slot = 0;
    const bool endsInLineBreak = !text.empty() && (text.back() == u'\n' || text.back() == u'\r');
    for (std::size_t k = 0; k < text.size() && text[k] != u'\0'; ++k) {
        if (text[k] == u'\n') {
            slot += endsInLineBreak && k + 1 == text.size() ? 0 : 1;
        } else if (slot < 2 && text[k] != u'\r' && text[k] < 0x80) {
            expected[slot].push_back(text[k]);
        }
    }
    FUZZ_CHECK(settings == expected);
    return 0;
}
