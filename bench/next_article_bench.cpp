// Next Article on the real Qt window at 800 × 600 over the built-in book: load the page,
// lay out both panes, paint them. Reports every step's time over a full round of the book
// (median and worst, with the worst article), then Google Benchmark's own figure.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/main_window.h"
#include "app/settings.h"
#include "app/shell_state.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_platform.h"
#include "resources/builtin_resources.h"

namespace {

using namespace vaelo;

struct Reader {
    Reader() {
        ResetShell();
        ReadDeviceOptions();
        LoadSettings();
        SetCurrentArticle(1);
        auto& p = platform::Current();
        p.windows->RegisterClass({"Vaelo", MainWindowProc, 101, kWhite, true});
        window = p.windows->CreateTopLevel("Vaelo", "Vaelo");
        p.windows->Show(window);
        p.windows->Move(window, {0, 0, 800, 600}, true);
        QCoreApplication::processEvents();
    }
    ~Reader() { ResetShell(); }
    platform::WindowId window;
};

void BM_NextArticle(benchmark::State& state) {
    Reader reader;
    for (auto _ : state) NextArticle(reader.window);
    state.counters["article"] = Shell().lesson;
}
BENCHMARK(BM_NextArticle)->Unit(benchmark::kMillisecond);

void RoundOfTheBook() {
    Reader reader;
    std::vector<std::pair<double, int>> steps;
    for (int i = 0; i < 130 * 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        NextArticle(reader.window);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (i >= 130) steps.push_back({took.count(), Shell().lesson});  // the first round warms up
    }
    std::sort(steps.begin(), steps.end());
    std::printf("Next Article at 800x600 over %zu steps: median %.3f ms, worst %.3f ms (article %d)\n",
                steps.size(), steps[steps.size() / 2].first, steps.back().first, steps.back().second);
}

}  // namespace

int main(int argc, char** argv) {
    // Settings of the benchmark's own, not the user's.
    const auto dir = std::filesystem::temp_directory_path() / "vaelo-bench-config";
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    auto book = platform::ResourceContainer::View(BuiltinResources(), nullptr);
    platform::qt::QtPlatform platform(std::move(*book));
    platform::qt::QtDesktop desktop(&platform.messageBoxes);
    RoundOfTheBook();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
