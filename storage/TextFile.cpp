#include "storage/TextFile.h"

#include <algorithm>

#include "core/NumberListStream.h"
#include "storage/AtomicFile.h"
#include "storage/FileSource.h"

namespace fs = std::filesystem;

namespace {

// The decoded text as the window shows it: every line break becomes CR LF, and the last line
// gets one too. Blocks are appended as they arrive; a lone LF may follow a block's last CR.
class WindowText {
  public:
    void Reserve(std::size_t units) { m_text.reserve(units); }
    void Append(std::u16string_view units) {
        if (!HasLoneLineFeed(units)) {
            m_text.append(units);
            m_last = units.empty() ? m_last : units.back();
            return;
        }
        std::size_t from = 0;
        for (std::size_t k = units.find(u'\n'); k != std::u16string_view::npos;
             k = units.find(u'\n', k + 1)) {
            const char16_t before = k > 0 ? units[k - 1] : m_last;
            if (before != u'\r') {
                m_text.append(units.substr(from, k - from));
                m_text.push_back(u'\r');
                from = k;
            }
        }
        m_text.append(units.substr(from));
        m_last = units.empty() ? m_last : units.back();
    }
    std::size_t Size() const { return m_text.size(); }
    WideString Finish() {
        if (!m_text.empty() && m_text.back() != u'\n') {
            m_text.append(u"\r\n");
        }
        return std::move(m_text);
    }

  private:
    // Looks at every unit without stopping early, which the compiler turns into vector
    // instructions: most texts have none.
    bool HasLoneLineFeed(std::u16string_view units) const {
        unsigned any = !units.empty() && units[0] == u'\n' && m_last != u'\r' ? 1U : 0U;
        for (std::size_t k = 1; k < units.size(); ++k) {
            any |= static_cast<unsigned>(units[k] == u'\n') &
                   static_cast<unsigned>(units[k - 1] != u'\r');
        }
        return any != 0;
    }

    WideString m_text;
    char16_t m_last = u'\0';
};

}  // namespace

std::optional<WideString> ReadText(ByteSource& source, std::uintmax_t size) {
    // A small file needs no block larger than itself.
    const auto blockSize =
        static_cast<std::size_t>(std::min<std::uintmax_t>(kStreamBlock, size + 4));
    const std::optional<Encoding> encoding = ReadEncoding(source, blockSize);
    if (!encoding) {
        return std::nullopt;
    }
    const std::optional<std::size_t> units = UnitsOfSize(*encoding, size);
    if (!units) {
        return std::nullopt;
    }
    WindowText text;
    // Room for a few added CRs; lines of LF alone grow the text beyond it.
    text.Reserve(*units + *units / 8 + 2);
    bool tooLong = false;
    const bool read = DecodeBlocks(
        *encoding, blockSize,
        [&](char* buffer, std::size_t room) { return source.Read(buffer, room); },
        [&](std::u16string_view block) {
            text.Append(block);
            tooLong = text.Size() > kLongestText;
            return !tooLong;
        });
    WideString whole = text.Finish();
    if (!read || tooLong || whole.size() > kLongestText) {
        return std::nullopt;
    }
    return whole;
}

namespace {

// Blocks of a text's bytes, a surrogate pair never cut: for UTF-16 units their UTF-8, in one buffer
// used again for each block; a byte text as it is. A run's result is always a byte text, so no
// save the window makes waits for encoding. A failed write is the file's to remember: it writes
// nothing more and fails its commit.
void WriteBlocks(AtomicFile& file, std::string_view ascii) {
    for (; !ascii.empty(); ascii.remove_prefix(std::min(ascii.size(), kStreamBlock))) {
        file.Write(ascii.substr(0, kStreamBlock));
    }
}

void WriteBlocks(AtomicFile& file, std::u16string_view units) {
    ByteString bytes;
    while (!units.empty()) {
        std::size_t block = std::min(units.size(), kStreamBlock);
        if (block < units.size() && IsHighSurrogate(units[block - 1])) {
            ++block;
        }
        bytes.clear();
        AppendUtf8(units.substr(0, block), bytes);
        file.Write(bytes);
        units.remove_prefix(block);
    }
}

}  // namespace

std::optional<std::size_t> UnitsOfSize(Encoding encoding, std::uintmax_t bytes) {
    const std::uintmax_t units = encoding == Encoding::Utf8 ? bytes : bytes / 2;
    if (units > kLongestText) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(units);
}

std::optional<WideString> ReadTextFile(const fs::path& path) {
    FileSource source(path);
    if (!source.IsOpen()) {
        return std::nullopt;
    }
    return ReadText(source, source.Size());
}

int WriteTextFile(const fs::path& path, const SharedText& text) {
    AtomicFile file(path);
    text.VisitUnits([&file](auto units) { WriteBlocks(file, units); });
    return file.Commit() ? 1 : 0;
}
