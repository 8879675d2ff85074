#include "core/NumberListStream.h"

#include <cstring>

std::optional<std::size_t> ReadUpTo(ByteSource& source, char* buffer, std::size_t room) {
    std::size_t total = 0;
    while (total < room) {
        const std::optional<std::size_t> got = source.Read(buffer + total, room - total);
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            break;
        }
        total += *got;
    }
    return total;
}

namespace {

std::optional<bool> HoldsZeroByte(ByteSource& source, std::size_t blockSize) {
    std::vector<char> block(blockSize);
    for (;;) {
        const std::optional<std::size_t> got = source.Read(block.data(), block.size());
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            return false;
        }
        if (std::memchr(block.data(), 0, *got) != nullptr) {
            return true;
        }
    }
}

}  // namespace

std::optional<MarkedEncoding> ReadMark(ByteSource& source) {
    char start[3];
    const std::optional<std::size_t> got = ReadUpTo(source, start, sizeof start);
    if (!got || !source.Rewind()) {
        return std::nullopt;
    }
    const MarkedEncoding marked =
        EncodingFromMark(std::string_view(start, *got)).value_or(MarkedEncoding{Encoding::Utf8, 0});
    if (!ReadUpTo(source, start, marked.markLength)) {
        return std::nullopt;
    }
    return marked;
}

std::optional<Encoding> ReadEncoding(ByteSource& source, std::size_t blockSize) {
    const std::optional<MarkedEncoding> marked = ReadMark(source);
    if (!marked || marked->markLength > 0) {
        return marked ? std::optional(marked->encoding) : std::nullopt;
    }
    const std::optional<bool> zero = HoldsZeroByte(source, blockSize);
    if (!zero || !source.Rewind()) {
        return std::nullopt;
    }
    return *zero ? Encoding::Utf16LE : Encoding::Utf8;
}

void NumberListStream::TakeUnit(char16_t unit, ByteString& result) {
    switch (m_reader.Next(unit)) {
        case ListCharacter::Digit:
            m_value = WithDigit(m_value, unit);
            m_inLine = true;
            break;
        case ListCharacter::LineEnd:
            EndLine(result);
            break;
        case ListCharacter::Dropped:
            break;
        case ListCharacter::Other:
            m_notDigits = true;
            break;
    }
}

// Runs units through the list, unit(i) giving the i-th of count. The state is held in locals
// across runs of digits, nearly every unit of a list: the result's bytes may alias the members.
template <typename Unit>
void NumberListStream::TakeUnits(std::size_t count, Unit unit, ByteString& result) {
    std::int64_t value = m_value;
    bool inLine = m_inLine;
    ListCharacterReader reader = m_reader;
    for (std::size_t next = 0; next < count; ++next) {
        const char16_t c = unit(next);
        if (static_cast<unsigned>(c - u'0') < 10U) {
            if (!reader.TakeDigit()) {
                m_notDigits = true;
                break;
            }
            value = WithDigit(value, c);
            inLine = true;
            continue;
        }
        m_value = value;
        m_inLine = inLine;
        m_reader = reader;
        TakeUnit(c, result);
        if (m_notDigits) {
            return;
        }
        value = m_value;
        inLine = m_inLine;
        reader = m_reader;
    }
    m_value = value;
    m_inLine = inLine;
    m_reader = reader;
}

bool NumberListStream::Take(std::string_view bytes, ByteString& result) {
    if (m_encoding == Encoding::Utf8) {
        TakeUnits(
            bytes.size(),
            [&](std::size_t at) {
                return static_cast<char16_t>(static_cast<unsigned char>(bytes[at]));
            },
            result);
        return !m_notDigits;
    }
    const bool little = m_encoding == Encoding::Utf16LE;
    const auto unit = [little](unsigned char first, unsigned char second) {
        return static_cast<char16_t>(little ? first | second << 8 : first << 8 | second);
    };
    TakeUnits(
        bytes.size() / 2, [&](std::size_t at) { return unit(bytes[2 * at], bytes[2 * at + 1]); },
        result);
    m_loneByte = m_loneByte || bytes.size() % 2 != 0;
    return !m_notDigits;
}

BlockLines WholeLines(std::string_view block, Encoding encoding) {
    if (encoding == Encoding::Utf8) {
        const std::size_t first = block.find('\n');
        return first == block.npos ? BlockLines{block.size(), block.size()}
                                   : BlockLines{first + 1, block.rfind('\n') + 1};
    }
    const char low = encoding == Encoding::Utf16LE ? '\n' : '\0';
    const char high = encoding == Encoding::Utf16LE ? '\0' : '\n';
    const auto isLineEnd = [&](std::size_t at) {
        return block[at] == low && block[at + 1] == high;
    };
    const std::size_t units = block.size() / 2;
    std::size_t first = 0;
    while (first < units && !isLineEnd(2 * first)) {
        ++first;
    }
    if (first == units) {
        return {block.size(), block.size()};
    }
    std::size_t last = units - 1;
    while (!isLineEnd(2 * last)) {
        --last;
    }
    return {2 * first + 2, 2 * last + 2};
}

ConversionOutcome ConvertLines(std::string_view bytes, Encoding encoding, ByteString& result) {
    NumberListStream list(encoding);
    // Room for the most the lines can give, 3.25 bytes a unit (seven digits and an LF give 26),
    // so that the result never moves as it grows; pages are only touched as far as it is written.
    const std::size_t units = encoding == Encoding::Utf8 ? bytes.size() : bytes.size() / 2;
    result.reserve(result.size() + units * 13 / 4 + 1);
    list.Take(bytes, result);
    return list.Result();
}

void NumberListStream::EndLine(ByteString& result) {
    if (!m_inLine) {
        return;
    }
    if (m_value > kLargestNumber) {
        m_tooLarge = true;
    } else if (!m_tooLarge) {
        AppendResultLine(static_cast<std::int32_t>(m_value), result);
    }
    m_value = 0;
    m_inLine = false;
}

// A lone last byte of UTF-16 decodes to a replacement character, which no list holds.
void NumberListStream::Finish(ByteString& result) {
    m_notDigits = m_notDigits || m_loneByte;
    if (!m_notDigits) {
        EndLine(result);
    }
}

ConversionOutcome NumberListStream::Result() const {
    if (m_notDigits) {
        return ConversionOutcome::NotDigits;
    }
    return m_tooLarge ? ConversionOutcome::TooLarge : ConversionOutcome::Converted;
}
