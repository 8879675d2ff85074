// How the Win32 window's result box takes a result of COUNT lines: showing it, scrolling to its
// end, and Ctrl+A then Ctrl+C, checked against the text. Run under wine with a display.
//
// Usage: bench_win32_boxes.exe [COUNT] [RUNS]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/NumberListInput.h"
#include "core/DecimalToBinary.h"
#include "jobs/TallowDlg.h"
#include "tests/support/ClipboardText.h"
#include "ui/win32/Win32Toolkit.h"
#include "ui/win32/Win32Window.h"

namespace {

double Milliseconds(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

void Pump(Win32Window& window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        window.ProcessMessage(message);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    const long long count = argc > 1 ? std::atoll(argv[1]) : 1'000'000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const WideString list = RandomNumberList(count);
    WideString result;
    std::size_t at = 0;
    while (at < list.size()) {
        const std::size_t end = list.find(u'\r', at);
        AppendBinary(
            ParseDecimal<std::int32_t>(std::u16string_view(list).substr(at, end - at)).value,
            result);
        result.append(u"\r\n");
        at = end + 2;
    }
    const auto shared = std::make_shared<const WideString>(std::move(result));
    std::vector<double> show, scroll, copy;
    bool copiedExactly = true;
    for (int run = 0; run < runs; ++run) {
        Win32Window window(GetModuleHandleW(nullptr));
        Win32Toolkit toolkit(window);
        CTallowDlg dialog(toolkit);
        window.Start(dialog);
        HWND box = window.Control(static_cast<int>(ControlId::Result));
        show.push_back(Milliseconds([&] {
            toolkit.SetText(ControlId::Result, shared, nullptr);
            UpdateWindow(box);
            Pump(window);
        }));
        scroll.push_back(Milliseconds([&] {
            SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
            UpdateWindow(box);
            Pump(window);
        }));
        copy.push_back(Milliseconds([&] {
            SendMessageW(box, EM_SETSEL, 0, -1);
            SendMessageW(box, WM_COPY, 0, 0);
        }));
        copiedExactly = copiedExactly && ClipboardText() == *shared;
        std::printf("run %d: show %.0f, scroll %.0f, copy %.0f ms\n", run + 1, show.back(),
                    scroll.back(), copy.back());
    }
    std::printf(
        "%lld lines, %zu characters; medians of %d: show %.0f ms, scroll to the end %.0f "
        "ms, select all and copy %.0f ms; copy exact: %s\n",
        count, shared->size(), runs, Median(show), Median(scroll), Median(copy),
        copiedExactly ? "yes" : "NO");
    return copiedExactly ? 0 : 1;
}
