#include "storage/SettingsFile.h"

#include <algorithm>
#include <fstream>

#include "core/TextEncoding.h"

namespace fs = std::filesystem;

std::optional<WideString> ReadSettingsText(const fs::path& path, std::span<char> buffer) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return WideString();
    }
    file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (file.bad()) {
        return WideString();
    }
    const auto read = buffer.first(static_cast<std::size_t>(file.gcount()));
    const auto end = std::find(read.begin(), read.end(), '\0');
    return DecodeText(Encoding::Utf8,
                      std::string_view(read.data(), static_cast<std::size_t>(end - read.begin())));
}

void ParseSettingsText(std::u16string_view text, std::array<WideString, 2>& settings) {
    constexpr std::size_t kLongestText = 9'999;
    if (text.size() > kLongestText) {
        return;
    }
    std::size_t line = 0;
    for (std::size_t k = 0; k < text.size() && text[k] != u'\0'; ++k) {
        const char16_t c = text[k];
        if (c == u'\n') {
            ++line;
        } else if (c != u'\r' && c < 0x80 && line < settings.size()) {
            settings[line].push_back(c);
        }
    }
}

std::string SettingsBytes(bool autoRunTicked, bool showMessagesTicked) {
    std::string bytes = autoRunTicked ? "1\r\n" : "0\r\n";
    bytes += showMessagesTicked ? '1' : '0';
    return bytes;
}
