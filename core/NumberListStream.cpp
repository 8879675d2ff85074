#include "core/NumberListStream.h"

#include <algorithm>
#include <cstring>

std::optional<std::size_t> MemorySource::Read(char* buffer, std::size_t room) {
    const std::size_t count = std::min(room, m_bytes.size() - m_next);
    std::memcpy(buffer, m_bytes.data() + m_next, count);
    m_next += count;
    return count;
}

bool MemorySource::Rewind() {
    m_next = 0;
    return true;
}

namespace {

// Reads up to room bytes, however many reads it takes; nothing on a failure.
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

std::optional<Encoding> ReadEncoding(ByteSource& source, std::size_t blockSize) {
    char start[3];
    const std::optional<std::size_t> got = ReadUpTo(source, start, sizeof start);
    if (!got || !source.Rewind()) {
        return std::nullopt;
    }
    const std::optional<MarkedEncoding> marked = EncodingFromMark(std::string_view(start, *got));
    if (marked) {
        return ReadUpTo(source, start, marked->markLength) ? std::optional(marked->encoding)
                                                           : std::nullopt;
    }
    const std::optional<bool> zero = HoldsZeroByte(source, blockSize);
    if (!zero || !source.Rewind()) {
        return std::nullopt;
    }
    return *zero ? Encoding::Utf16LE : Encoding::Utf8;
}

bool NumberListStream::Take(std::u16string_view units, ByteString& result) {
    for (const char16_t c : units) {
        switch (m_reader.Next(c)) {
            case ListCharacter::Digit:
                m_value = WithDigit(m_value, c);
                m_inLine = true;
                break;
            case ListCharacter::LineEnd:
                EndLine(result);
                break;
            case ListCharacter::Dropped:
                break;
            case ListCharacter::Other:
                m_notDigits = true;
                return false;
        }
    }
    return true;
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

void NumberListStream::Finish(ByteString& result) {
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
