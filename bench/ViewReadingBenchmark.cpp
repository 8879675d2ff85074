// How fast a screen reader reads a large box: a character, a word and a line at random offsets,
// through the view's accessible text, against Qt's default lookups (which copy the whole text) in
// the same run.
//
// Usage: bench_view_reading [MILLION_CHARACTERS] [RUNS]
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "ui/qt/TextView.h"

namespace {

// Lines of binary digits, as a result box holds them.
SharedText ResultText(std::size_t characters) {
    auto text = std::make_shared<WideString>();
    text->reserve(characters + 40);
    std::mt19937 random(7);
    while (text->size() < characters) {
        for (std::uint32_t value = random() >> 1; value != 0; value >>= 1) {
            text->push_back(value & 1 ? u'1' : u'0');
        }
        text->append(u"\r\n");
    }
    return SharedText(std::shared_ptr<const WideString>(std::move(text)));
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Microseconds a query, the median of runs, each over the same offsets.
template <typename Query>
double MillisecondsPerQuery(const std::vector<int>& offsets, int runs, Query query) {
    std::vector<double> perRun;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (const int offset : offsets) {
            query(offset);
        }
        perRun.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e3 /
                         static_cast<double>(offsets.size()));
    }
    return Median(perRun);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::size_t characters =
        static_cast<std::size_t>(argc > 1 ? std::atof(argv[1]) * 1e6 : 40e6);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    TextView view;
    view.resize(600, 400);
    const SharedText text = ResultText(characters);
    view.SetText(text, std::make_shared<const LineIndex>(text));
    QAccessibleTextInterface* reader =
        QAccessible::queryAccessibleInterface(&view)->textInterface();

    std::mt19937 random(11);
    std::vector<int> offsets(20);
    for (int& offset : offsets) {
        offset = static_cast<int>(random() % text.Size());
    }
    std::printf(
        "%zu characters, %zu lines; microseconds a query, median of %d runs of %zu offsets\n",
        text.Size(), view.LineCount(), runs, offsets.size());
    std::printf("%-10s %10s %14s %8s\n", "boundary", "the view", "Qt's default", "ratio");
    const std::pair<const char*, QAccessible::TextBoundaryType> boundaries[] = {
        {"character", QAccessible::CharBoundary},
        {"word", QAccessible::WordBoundary},
        {"line", QAccessible::LineBoundary},
    };
    for (const auto& [name, boundary] : boundaries) {
        int start = 0;
        int end = 0;
        const double own = MillisecondsPerQuery(offsets, runs, [&](int offset) {
            reader->textBeforeOffset(offset, boundary, &start, &end);
            reader->textAtOffset(offset, boundary, &start, &end);
            reader->textAfterOffset(offset, boundary, &start, &end);
        });
        const double qt = MillisecondsPerQuery(offsets, 1, [&](int offset) {
            reader->QAccessibleTextInterface::textAtOffset(offset, boundary, &start, &end);
        });
        std::printf("%-10s %10.2f %14.0f %7.0fx\n", name, own / 3, qt, qt / (own / 3));
    }
    return 0;
}
