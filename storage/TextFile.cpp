#include "storage/TextFile.h"

#include <cstring>
#include <fstream>

#include "core/TextEncoding.h"

namespace fs = std::filesystem;

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

WideString Decode(std::string_view bytes) {
    using namespace std::string_view_literals;
    if (StartsWith(bytes, "\xEF\xBB\xBF"sv)) {
        return Utf8ToUtf16(bytes.substr(3));
    }
    if (StartsWith(bytes, "\xFF\xFE"sv)) {
        return Utf16BytesToUtf16(bytes.substr(2), false);
    }
    if (StartsWith(bytes, "\xFE\xFF"sv)) {
        return Utf16BytesToUtf16(bytes.substr(2), true);
    }
    const bool hasZeroByte = std::memchr(bytes.data(), 0, bytes.size()) != nullptr;
    return hasZeroByte ? Utf16BytesToUtf16(bytes, false) : Utf8ToUtf16(bytes);
}

// Every line break becomes CR LF and the last line gets one too.
WideString EndLinesWithCrLf(WideString text) {
    std::size_t loneLineFeeds = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        loneLineFeeds += text[k] == u'\n' && (k == 0 || text[k - 1] != u'\r') ? 1 : 0;
    }
    if (loneLineFeeds > 0) {
        WideString withCrLf(text.size() + loneLineFeeds, u'\0');
        std::size_t out = 0;
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (text[k] == u'\n' && (k == 0 || text[k - 1] != u'\r')) {
                withCrLf[out++] = u'\r';
            }
            withCrLf[out++] = text[k];
        }
        text = std::move(withCrLf);
    }
    if (!text.empty() && text.back() != u'\n') {
        text.append(u"\r\n");
    }
    return text;
}

std::optional<ByteString> ReadBytes(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > 2 * (kLongestText + 1)) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    ByteString bytes(static_cast<std::size_t>(size), '\0');
    if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

WideString DecodeTextFileBytes(std::string_view bytes) {
    return EndLinesWithCrLf(Decode(bytes));
}

std::optional<WideString> ReadTextFile(const fs::path& path) {
    std::optional<WideString> text;
    if (std::optional<ByteString> bytes = ReadBytes(path)) {
        text = DecodeTextFileBytes(*bytes);
    }
    if (text && text->size() > kLongestText) {
        text.reset();
    }
    return text;
}
