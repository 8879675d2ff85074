// The number-list pipeline as the window's run takes it: digit check, split, range check, result
// bytes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "bench/NumberListInput.h"
#include "core/NumberText.h"

namespace {

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void Pipeline(benchmark::State& state) {
    const std::int64_t count = state.range(0);
    const WideString input = RandomNumberList(count);
    std::size_t heldBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WideString text = input;
        const std::size_t heapBefore = HeapInUse();
        state.ResumeTiming();

        NumberLines numbers;
        std::int32_t lineIndex = 0;
        std::int64_t maxValue = 0;
        ByteString result;
        const bool ok = CheckNumberText(text) &&
                        SplitNumberLines(text, numbers, lineIndex, kNeverStop) &&
                        ScanRange(numbers, maxValue, kNeverStop) == RangeCheck::Passed;
        result.resize(ResultLength(numbers, 0, numbers.size()));
        WriteResultLines(numbers, 0, numbers.size(), result.data(), kNeverStop);
        benchmark::DoNotOptimize(result.data());

        state.PauseTiming();
        if (!ok || lineIndex != count) {
            state.SkipWithError("the pipeline did not convert every number");
        }
        heldBytes = HeapInUse() - heapBefore;
        state.ResumeTiming();
    }
    state.counters["numbers/s"] = benchmark::Counter(static_cast<double>(count),
                                                     benchmark::Counter::kIsIterationInvariantRate);
    state.counters["held bytes/number"] =
        static_cast<double>(heldBytes) / static_cast<double>(count);
}

BENCHMARK(Pipeline)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
