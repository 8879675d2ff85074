// Drives the real window on the offscreen platform and measures what a user waits for, and the
// longest stall of the window's event loop meanwhile.
//
// Usage: bench_window COUNT [RUNS]
//            a UTF-16LE file of COUNT random numbers: load, convert, save, with the CPU time and
//            page faults of the three together
//        bench_window --against OTHER_BENCH_WINDOW COUNT [RUNS]
//            this build's and another's round trip, each run a process of its own, alternately
//        bench_window --long-line MEGABYTES [RUNS]
//            one line of digits: load, scroll to its end, select all
#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/NumberListInput.h"
#include "jobs/TallowDlg.h"
#include "ui/qt/BrowseField.h"
#include "ui/qt/QtToolkit.h"
#include "ui/qt/TallowWindow.h"
#include "ui/qt/TextView.h"

namespace fs = std::filesystem;

namespace {

// The real toolkit, with the save dialog answered and the message boxes skipped.
class BenchToolkit : public QtToolkit {
  public:
    BenchToolkit(TallowWindow& window, fs::path saveTo) : QtToolkit(window), m_saveTo(saveTo) {}
    std::optional<fs::path> AskSavePath(const SaveDialogOptions&) override { return m_saveTo; }
    void ShowMessage(std::u16string_view, MessageIcon) override {}

  private:
    fs::path m_saveTo;
};

struct Phase {
    double ms;
    double longestStallMs;
};

// Runs action, then the event loop until done() holds, and measures both.
Phase Measure(const std::function<void()>& action, const std::function<bool()>& done) {
    constexpr int kTickMs = 5;
    double longestStallMs = 0;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(kTickMs);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStallMs =
            std::max(longestStallMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - kTickMs);
        sinceTick.restart();
    });
    // A plain event loop: QTest's waits sleep between rounds, which would delay the worker.
    QEventLoop loop;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticker.start();
    watch.start(1);
    action();
    loop.exec();
    return {static_cast<double>(clock.nsecsElapsed()) / 1e6, longestStallMs};
}

fs::path WriteInput(const std::string& name, const std::function<void(std::ofstream&)>& write) {
    const fs::path path = fs::temp_directory_path() / name;
    std::ofstream file(path, std::ios::binary);
    write(file);
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

struct Usage {
    double cpuSeconds;
    long faults;
};

Usage UsageOf(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_minflt + usage.ru_majflt};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Window {
    Window() {
        window.Start(dialog);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fprintf(stderr, "the window did not show\n");
        }
    }
    void Click(ControlId id) { QTest::mouseClick(window.Control(id), Qt::LeftButton); }
    bool Visible(ControlId id) { return window.Control(id)->isVisible(); }
    bool Enabled(ControlId id) { return window.Control(id)->isEnabled(); }
    // Load File, until the loaded text is shown and the run controls are back.
    Phase Load(const fs::path& input) {
        window.findChild<BrowseField*>("m_browseFile")
            ->setText(QString::fromStdString(input.string()));
        auto* contents = window.findChild<TextView*>("m_editFileContents");
        return Measure([&] { Click(ControlId::LoadFile); },
                       [&] { return !contents->Text().Empty() && Enabled(ControlId::LoadFile); });
    }

    TallowWindow window;
    BenchToolkit toolkit{window, fs::temp_directory_path() / "tallow-bench-saved.tbin"};
    CTallowDlg dialog{toolkit};
};

struct Row {
    std::string name;
    std::vector<double> ms;
    std::vector<double> stalls;
    void Add(const Phase& phase) {
        ms.push_back(phase.ms);
        stalls.push_back(phase.longestStallMs);
    }
};

void Report(const std::vector<Row>& rows, int runs) {
    std::printf("median of %d runs:\n", runs);
    for (const Row& row : rows) {
        std::printf("  %-22s %8.0f ms   longest stall %4.0f ms (worst %4.0f ms)\n",
                    row.name.c_str(), Median(row.ms), Median(row.stalls),
                    *std::max_element(row.stalls.begin(), row.stalls.end()));
    }
    std::printf("peak memory %.0f MiB\n", PeakMemoryMiB());
}

void NumberFile(std::int64_t count, int runs) {
    const fs::path input = WriteInput("tallow-bench-numbers.txt", [&](std::ofstream& file) {
        const WideString text = RandomNumberList(count);
        file.write("\xFF\xFE", 2);
        file.write(reinterpret_cast<const char*>(text.data()),
                   static_cast<std::streamsize>(text.size() * sizeof(char16_t)));
    });
    std::printf("%lld numbers, UTF-16LE with a mark, %.1f MB\n", static_cast<long long>(count),
                static_cast<double>(fs::file_size(input)) / 1e6);
    std::vector<Row> rows{{"load", {}, {}}, {"convert", {}, {}}, {"save", {}, {}}};
    for (int run = 0; run < runs; ++run) {
        Window window;
        const Usage before = UsageOf(RUSAGE_SELF);
        rows[0].Add(window.Load(input));
        rows[1].Add(Measure([&] { window.Click(ControlId::ConvertFile); },
                            [&] { return window.Visible(ControlId::Save); }));
        const fs::path saved = fs::temp_directory_path() / "tallow-bench-saved.tbin";
        fs::remove(saved);
        rows[2].Add(Measure([&] { window.Click(ControlId::Save); },
                            [&] { return fs::exists(saved) && window.Enabled(ControlId::Save); }));
        const Usage after = UsageOf(RUSAGE_SELF);
        std::printf("run %d: load %.0f, convert %.0f, save %.0f ms, %.2f s CPU, %ld faults\n",
                    run + 1, rows[0].ms.back(), rows[1].ms.back(), rows[2].ms.back(),
                    after.cpuSeconds - before.cpuSeconds, after.faults - before.faults);
        fs::remove(saved);
    }
    Report(rows, runs);
    fs::remove(input);
}

void LongLine(int megabytes, int runs) {
    const fs::path input = WriteInput("tallow-bench-line.txt", [&](std::ofstream& file) {
        const std::string digits = "0123456789";
        for (int k = 0; k < megabytes * 100'000; ++k) {
            file << digits;
        }
    });
    std::printf("one line of %d MB of digits\n", megabytes);
    std::vector<Row> rows{{"load", {}, {}}, {"scroll to the end", {}, {}}, {"select all", {}, {}}};
    for (int run = 0; run < runs; ++run) {
        Window window;
        rows[0].Add(window.Load(input));
        auto* view = window.window.findChild<TextView*>("m_editFileContents");
        int frames = 0;
        rows[1].Add(Measure(
            [&] { view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum()); },
            [&] { return ++frames > 20; }));
        frames = 0;
        rows[2].Add(Measure(
            [&] {
                view->setFocus();
                QTest::keySequence(view, QKeySequence::SelectAll);
                view->viewport()->repaint();
            },
            [&] { return ++frames > 20; }));
    }
    Report(rows, runs);
    fs::remove(input);
}

struct RoundTrip {
    double ms = 0;
    Usage usage{};
};

// One run of a bench_window program in a process of its own: its round trip's wall time, and the
// whole process's CPU time and page faults, the same measure for any build.
RoundTrip RunOnce(const std::string& program, long long count) {
    const Usage before = UsageOf(RUSAGE_CHILDREN);
    const std::string command = "'" + program + "' " + std::to_string(count) + " 1";
    FILE* output = popen(command.c_str(), "r");
    RoundTrip trip;
    char line[512];
    double load = 0, convert = 0, save = 0;
    while (output != nullptr && std::fgets(line, sizeof line, output) != nullptr) {
        if (std::sscanf(line, "run 1: load %lf, convert %lf, save %lf", &load, &convert, &save) ==
            3) {
            trip.ms = load + convert + save;
        }
    }
    if (output == nullptr || pclose(output) != 0 || trip.ms == 0) {
        std::fprintf(stderr, "%s did not run\n", program.c_str());
        std::exit(1);
    }
    const Usage after = UsageOf(RUSAGE_CHILDREN);
    trip.usage = {after.cpuSeconds - before.cpuSeconds, after.faults - before.faults};
    return trip;
}

void Against(const std::string& self, const std::string& other, long long count, int runs) {
    std::vector<double> ms[2], cpu[2], faults[2], wallRatio, cpuRatio;
    for (int run = 0; run < runs; ++run) {
        RoundTrip trips[2];
        // The order swaps each run, so that neither build always follows the other.
        for (int k = 0; k < 2; ++k) {
            const int which = (run + k) % 2;
            trips[which] = RunOnce(which == 0 ? self : other, count);
        }
        for (int which = 0; which < 2; ++which) {
            ms[which].push_back(trips[which].ms);
            cpu[which].push_back(trips[which].usage.cpuSeconds);
            faults[which].push_back(static_cast<double>(trips[which].usage.faults));
        }
        wallRatio.push_back(trips[0].ms / trips[1].ms);
        cpuRatio.push_back(trips[0].usage.cpuSeconds / trips[1].usage.cpuSeconds);
        std::printf(
            "run %d: this %.0f ms (%.2f s CPU, %ld faults), against %.0f ms (%.2f s CPU, "
            "%ld faults)\n",
            run + 1, trips[0].ms, trips[0].usage.cpuSeconds, trips[0].usage.faults, trips[1].ms,
            trips[1].usage.cpuSeconds, trips[1].usage.faults);
    }
    for (int which = 0; which < 2; ++which) {
        std::printf("median %s: round trip %.0f ms, process %.2f s CPU, %.0f faults\n",
                    which == 0 ? "this" : "against", Median(ms[which]), Median(cpu[which]),
                    Median(faults[which]));
    }
    std::printf("per-run ratios, median: round trip %.2f, CPU %.2f\n", Median(wallRatio),
                Median(cpuRatio));
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.size() >= 3 && arguments[0] == "--against") {
        Against(argv[0], arguments[1], std::stoll(arguments[2]),
                arguments.size() > 3 ? std::stoi(arguments[3]) : 5);
        return 0;
    }
    const bool longLine = !arguments.empty() && arguments[0] == "--long-line";
    const std::size_t first = longLine ? 1 : 0;
    const auto number = [&](std::size_t k, long long fallback) {
        return arguments.size() > k ? std::stoll(arguments[k]) : fallback;
    };
    const int runs = static_cast<int>(number(first + 1, 5));
    if (longLine) {
        LongLine(static_cast<int>(number(first, 10)), runs);
    } else {
        NumberFile(number(first, 1'000'000), runs);
    }
    return 0;
}
