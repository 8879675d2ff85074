#pragma once

// The steps that turn a number list text (one decimal number per line) into the result text (the
// binary digits of each number, each followed by CR LF). Each step calls a hook now and then, after
// at most kPollEvery items and after its last; the hook returns false to stop the run there.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/DecimalToBinary.h"
#include "core/NumberLines.h"

// For callers that neither report progress nor stop.
inline constexpr auto kNeverStop = [](auto) { return true; };

// Items between two polls: at most kPollEvery, which take microseconds, so that a pause or cancel
// still holds at once while a poll per character no longer costs more than the character; and at
// most a thousandth of the step, so that every percentage of its progress is still shown.
inline constexpr std::size_t kPollEvery = 4096;

// Runs step(i) for i from from up to to, and poll(i) after every few of them and after the last.
// Returns false when poll stopped it.
template <typename Step, typename Poll>
bool PolledSteps(std::size_t from, std::size_t to, Step&& step, Poll&& poll) {
    const std::size_t every = std::clamp<std::size_t>((to - from) / 1024, 1, kPollEvery);
    while (from < to) {
        const std::size_t end = std::min(to, from + every);
        for (; from < end; ++from) {
            step(from);
        }
        if (!poll(static_cast<std::int64_t>(end - 1))) {
            return false;
        }
    }
    return true;
}

// What a character is to a number list: a digit of its line, the LF that ends the line, a CR,
// which is dropped, or anything else, which no number list holds.
enum class ListCharacter { Digit, LineEnd, Dropped, Other };

// Reads a number list one character at a time. A CR is dropped, except where it would join two
// digits of one line (a digit, CRs, a digit): lines that end in CR alone, or a damaged line, must
// never read as one number, so such a digit counts as Other.
class ListCharacterReader {
  public:
    // A digit, which is refused (false) where a CR joins it to the digit before.
    bool TakeDigit() {
        const bool joined = m_place == Place::CarriageReturnAfterDigit;
        m_place = Place::AfterDigit;
        return !joined;
    }
    ListCharacter Next(char16_t c) {
        if (c >= u'0' && c <= u'9') {
            return TakeDigit() ? ListCharacter::Digit : ListCharacter::Other;
        }
        if (c == u'\r') {
            if (m_place == Place::AfterDigit) {
                m_place = Place::CarriageReturnAfterDigit;
            }
            return ListCharacter::Dropped;
        }
        m_place = Place::Elsewhere;
        return c == u'\n' ? ListCharacter::LineEnd : ListCharacter::Other;
    }

  private:
    enum class Place { Elsewhere, AfterDigit, CarriageReturnAfterDigit };
    Place m_place = Place::Elsewhere;
};

// True when the text holds nothing but the digits 0 to 9, CR and LF, with no CR between two digits
// of a line; the empty text passes.
bool CheckNumberText(std::u16string_view text);

// One number's line of the result: its binary digits, then CR LF, in one append; value is not
// negative.
template <typename String>
void AppendResultLine(std::int32_t value, String& result) {
    typename String::value_type line[34];
    FillResultLine(static_cast<std::uint32_t>(value), line);
    result.append(line + 34 - ResultLineLength(value), line + 34);
}

// The text without its trailing CR and LF characters; one of nothing else trims to nothing, as
// npos + 1 is 0.
inline std::u16string_view TrimmedNumberText(std::u16string_view text) {
    return text.substr(0, text.find_last_not_of(u"\r\n") + 1);
}

// Collects every line of the trimmed text that has digits into numbers (CR is dropped, LF ends a
// line, blank lines vanish). The text has passed CheckNumberText.
// afterCharacter(i) follows the character at index i of the trimmed text. lineIndex ends as the
// number of collected lines. Returns false when the hook stopped the run.
template <typename Hook>
bool SplitNumberLines(std::u16string_view whole, NumberLines& numbers, std::int32_t& lineIndex,
                      Hook&& afterCharacter) {
    const std::u16string_view text = TrimmedNumberText(whole);
    // A line takes at least two characters, its digit and its LF, except the last.
    numbers.Reserve(text.size() / 2 + 1);
    std::int32_t collected = 0;
    const bool finished = PolledSteps(
        0, text.size(),
        [&](std::size_t i) {
            const char16_t c = text[i];
            if (c == u'\n') {
                collected += numbers.EndLine() ? 1 : 0;
            } else if (c != u'\r') {
                numbers.AppendToPendingLine(c);
            }
        },
        afterCharacter);
    if (!finished) {
        return false;
    }
    collected += numbers.EndLine() ? 1 : 0;
    lineIndex = collected;
    return true;
}

// Where the second half of a trimmed text starts: just past the first LF from its middle on, or
// at its end when there is none. Either half can then be split on its own.
inline std::size_t HalfwayLineStart(std::u16string_view text) {
    const std::size_t lineEnd = text.find(u'\n', text.size() / 2);
    return lineEnd == std::u16string_view::npos ? text.size() : lineEnd + 1;
}

enum class RangeCheck { Passed, TooLarge, Stopped };

// Sets maxValue to the largest collected number (held at kBeyondLargest) and tells
// whether every number is at most kLargestNumber. afterLine(j) follows line j.
template <typename Hook>
RangeCheck ScanRange(const NumberLines& numbers, std::int64_t& maxValue, Hook&& afterLine) {
    const bool finished = PolledSteps(
        0, numbers.size(),
        [&](std::size_t j) {
            const std::int64_t value = numbers[j];
            if (j == 0 || value > maxValue) {
                maxValue = value;
            }
        },
        afterLine);
    if (!finished) {
        return RangeCheck::Stopped;
    }
    return numbers.empty() || maxValue <= kLargestNumber ? RangeCheck::Passed
                                                         : RangeCheck::TooLarge;
}

// The result's length for lines from up to to.
inline std::size_t ResultLength(const NumberLines& numbers, std::size_t from, std::size_t to) {
    std::size_t length = 0;
    for (std::size_t j = from; j < to; ++j) {
        length += ResultLineLength(numbers[j]);
    }
    return length;
}

// Writes the result lines of lines from up to to at out, which has room for ResultLength of them.
// afterLine(j) follows line j. Returns false when the hook stopped.
template <typename Hook>
bool WriteResultLines(const NumberLines& numbers, std::size_t from, std::size_t to, char* out,
                      Hook&& afterLine) {
    return PolledSteps(
        from, to,
        [&](std::size_t j) {
            char line[34];
            FillResultLine(static_cast<std::uint32_t>(numbers[j]), line);
            const std::size_t length = ResultLineLength(numbers[j]);
            out = std::copy(line + 34 - length, line + 34, out);
        },
        afterLine);
}
