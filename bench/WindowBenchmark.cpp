// Drives the real window on the offscreen platform over a file of random numbers: the time from
// the click on "ファイル読込" to the text shown, from the click on "ファイルデータを変換" to the
// result shown, the longest stall of the window's event loop during the run, and peak memory.
//
// Usage: bench_window COUNT [RUNS]
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench/NumberListInput.h"
#include "ui/TallowDlg.h"
#include "ui/qt/BrowseField.h"
#include "ui/qt/QtToolkit.h"
#include "ui/qt/TallowWindow.h"

namespace {

struct Figures {
    double loadMs;
    double convertMs;
    double longestStallMs;
};

std::filesystem::path WriteUtf16File(std::int64_t count) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tallow-bench-" + std::to_string(count) + ".txt");
    const WideString text = RandomNumberList(count);
    std::ofstream file(path, std::ios::binary);
    file.write("\xFF\xFE", 2);
    file.write(reinterpret_cast<const char*>(text.data()),
               static_cast<std::streamsize>(text.size() * sizeof(char16_t)));
    return path;
}

double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}

Figures RunOnce(const std::filesystem::path& input) {
    TallowWindow window(QStringLiteral("working folder"), QStringLiteral("help"));
    QtToolkit toolkit(window);
    CTallowDlg dialog(toolkit);
    window.Start(dialog);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window did not show\n");
    }
    window.findChild<BrowseField*>("m_browseFile")->setText(QString::fromStdString(input.string()));

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(window.Control(ControlId::LoadFile), Qt::LeftButton);
    QApplication::processEvents();
    const double loadMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

    double longestStallMs = 0;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStallMs =
            std::max(longestStallMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - 5);
        sinceTick.restart();
    });
    clock.restart();
    sinceTick.start();
    ticker.start();
    // A plain event loop: QTest's waits sleep between rounds, which would delay the worker.
    QEventLoop loop;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (window.Control(ControlId::Save)->isVisible()) {
            loop.quit();
        }
    });
    watch.start(1);
    QTest::mouseClick(window.Control(ControlId::ConvertFile), Qt::LeftButton);
    loop.exec();
    const double convertMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    ticker.stop();
    return {loadMs, convertMs, longestStallMs};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::int64_t count = argc > 1 ? std::stoll(argv[1]) : 1'000'000;
    const int runs = argc > 2 ? std::stoi(argv[2]) : 5;
    const std::filesystem::path input = WriteUtf16File(count);
    std::vector<double> load, convert, stall;
    for (int run = 0; run < runs; ++run) {
        const Figures figures = RunOnce(input);
        std::printf("run %d: load %.0f ms, convert %.0f ms, longest stall %.0f ms\n", run + 1,
                    figures.loadMs, figures.convertMs, figures.longestStallMs);
        load.push_back(figures.loadMs);
        convert.push_back(figures.convertMs);
        stall.push_back(figures.longestStallMs);
    }
    std::printf(
        "%lld numbers (%.1f MB file), median of %d: load %.0f ms, convert %.0f ms, "
        "longest stall %.0f ms (worst %.0f ms); peak memory %.0f MiB\n",
        static_cast<long long>(count), static_cast<double>(std::filesystem::file_size(input)) / 1e6,
        runs, Median(load), Median(convert), Median(stall),
        *std::max_element(stall.begin(), stall.end()), PeakMemoryMiB());
    std::filesystem::remove(input);
    return 0;
}
