#include "jobs/ConversionWorker.h"

#include <atomic>
#include <chrono>
#include <future>
#include <new>
#include <system_error>

#include "core/NumberText.h"
#include "jobs/Progress.h"
#include "process/ProcessState.h"

namespace {

// A poll point: a paused run waits here, a cancelled one stops.
bool KeepGoing() {
    g_workerThread.WaitWhileSuspended();
    return g_cancelRequested.load(std::memory_order_relaxed) == 0;
}

// Smaller texts take one core: two would save nothing a user could see.
constexpr std::size_t kHalvedFrom = std::size_t{1} << 20;

// The second half of a step, on the other core: it polls as the worker does, so that a pause
// holds it and a cancel stops it, and publishes how many of its items are done. The worker reports
// progress for both.
class HelperHalf {
  public:
    // work gets the hook its step calls with the number of items done so far.
    template <typename Work>
    explicit HelperHalf(Work work)
        : m_done(std::async(std::launch::async, work, [this](std::int64_t done) {
              m_count.store(done, std::memory_order_relaxed);
              return KeepGoing();
          })) {}

    std::int64_t Count() const { return m_count.load(std::memory_order_relaxed); }
    // Waits for the half to end, reporting progress from start on meanwhile; false when it was
    // stopped.
    bool Finish(ProgressReporter& progress, std::int64_t start) {
        while (m_done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
            progress.Report(start + Count());
        }
        return m_done.get();
    }

  private:
    std::atomic<std::int64_t> m_count{0};
    std::future<bool> m_done;
};

}  // namespace

RunEnd ConversionWorker::Convert(ProgressReporter& progress, std::int64_t slots,
                                 ByteString& result) {
    const std::u16string_view text = TrimmedNumberText(*m_text);
    const std::size_t cut = text.size() >= kHalvedFrom ? HalfwayLineStart(text) : text.size();
    NumberLines second;
    std::int32_t secondLines = 0;
    HelperHalf splitter([&](auto done) {
        return SplitNumberLines(text.substr(cut), second, secondLines,
                                [&](std::int64_t i) { return done(i + 1); });
    });
    const auto afterCharacter = [&](std::int64_t i) {
        progress.Report(i + splitter.Count());
        return KeepGoing();
    };
    const bool firstSplit =
        SplitNumberLines(text.substr(0, cut), g_numbers, g_lineIndex, afterCharacter);
    if (!splitter.Finish(progress, static_cast<std::int64_t>(cut)) || !firstSplit || !KeepGoing()) {
        return RunEnd::Cancelled;
    }
    g_numbers.Append(second);
    second.clear();
    g_lineIndex += secondLines;
    std::int64_t largest = 0;
    const RangeCheck range =
        ScanRange(g_numbers, largest, [](std::int64_t) { return KeepGoing(); });
    if (range == RangeCheck::Stopped || !KeepGoing()) {
        return RunEnd::Cancelled;
    }
    if (range == RangeCheck::TooLarge) {
        return RunEnd::TooLarge;
    }
    const std::int64_t lines = g_lineIndex;
    m_post(BarPosition{0});
    progress.SetRange(lines + slots + 2);
    // Each half writes its lines into its own part of the result, sized once.
    const std::size_t half = cut < text.size() ? g_numbers.size() / 2 : g_numbers.size();
    const std::size_t firstLength = ResultLength(g_numbers, 0, half);
    result.resize(firstLength + ResultLength(g_numbers, half, g_numbers.size()));
    HelperHalf builder([&](auto done) {
        return WriteResultLines(
            g_numbers, half, g_numbers.size(), result.data() + firstLength,
            [&](std::int64_t j) { return done(j + 1 - static_cast<std::int64_t>(half)); });
    });
    const auto afterLine = [&](std::int64_t j) {
        progress.Report(slots + j + builder.Count());
        return KeepGoing();
    };
    const bool firstBuilt = WriteResultLines(g_numbers, 0, half, result.data(), afterLine);
    if (!builder.Finish(progress, slots + static_cast<std::int64_t>(half)) || !firstBuilt ||
        (lines == 0 && !KeepGoing())) {
        return RunEnd::Cancelled;
    }
    return RunEnd::Done;
}

// The result's line index is made here, so that the window only swaps the text in.
void ConversionWorker::PostResult(ProgressReporter& progress, std::int64_t slots,
                                  ByteString result) {
    const std::int64_t lines = g_lineIndex;
    progress.Report(slots + lines);
    const SharedText text =
        SharedText::FromAscii(std::make_shared<const ByteString>(std::move(result)));
    m_post(ResultText{text, std::make_shared<const LineIndex>(text)});
    progress.Report(slots + lines + 1);
    progress.Report(slots + lines + 2);
}

void ConversionWorker::Run() {
    m_post(RunStarted{});
    g_lineIndex = 0;
    g_numbers.clear();
    // One slot per character and one more: the progress scale of the line split.
    const std::int64_t slots = static_cast<std::int64_t>(m_text->size()) + 1;
    ProgressReporter progress(m_post, 3 * slots);
    RunEnd end = RunEnd::OutOfMemory;
    try {
        // Binary digits and line breaks: one byte each.
        ByteString result;
        end = Convert(progress, slots, result);
        if (end == RunEnd::Done) {
            PostResult(progress, slots, std::move(result));
        }
    } catch (const std::bad_alloc&) {
        end = RunEnd::OutOfMemory;
    } catch (const std::system_error&) {
        // A helper thread that could not start: the system is as short as without memory.
        end = RunEnd::OutOfMemory;
    }
    // The loaded text and the result shown before stay; the numbers collected so far go.
    if (end == RunEnd::OutOfMemory) {
        g_numbers = {};
    }
    m_post(end);
}
