// A day's work in one window without a restart: SoakDay's cycle (queries with changing
// criteria, sort, filter, find, copy, every export, charts, the journal, the summary, a card,
// 连接 again) over and over on the demo, with what the process holds sampled after each.
//   soak_bench DEMO_FILE [CYCLES] [WARM_UP]
// Prints, every 100 cycles (every tenth of a shorter run), the resident memory, what malloc holds,
// the open descriptors, the threads and the settings files' size; then the growth from the end of
// the warm-up (20 cycles) to the last cycle, and how many exports differed from the first cycle's
// of the same criteria.
#include "BenchArguments.h"
#include "MainWindowBench.h"
#include "support/SoakDay.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <clocale>
#include <cstdio>
#include <filesystem>

namespace {

std::uintmax_t settingsBytes(const std::filesystem::path& root) {
    std::uintmax_t bytes = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error))
        if (entry.is_regular_file())
            bytes += entry.file_size();
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C.UTF-8");
    const auto arguments =
        benchArguments(argc, argv, "soak_bench DEMO_FILE [CYCLES] [WARM_UP]", 1000);
    if (!arguments)
        return 2;
    const int warmUp = argc > 3 ? std::atoi(argv[3]) : 20;
    QTemporaryDir settings;
    QTemporaryDir exports;
    MainWindowBench bench(argc, argv, arguments->file, settings.path().toUtf8().constData());
    // Every row once in four cycles, and three narrower queries.
    SoakDay day(bench.window, exports.path().toStdString(), {"", "螺", "钢", "0000"});
    SoakDay::Holding start;
    int differing = 0;
    QElapsedTimer clock;
    clock.start();
    std::printf("%7s %10s %8s %12s %8s %15s %12s\n", "cycle", "memory MB", "heap MB", "descriptors",
                "threads", "settings bytes", "s per cycle");
    for (int n = 1; n <= arguments->runs; ++n) {
        const std::vector<std::string> unlike = day.cycle(n);
        differing += static_cast<int>(unlike.size());
        for (const std::string& format : unlike)
            if (std::getenv("SOAK_SHOW_UNLIKE"))
                std::printf("cycle %d: %s\n", n, format.c_str());
        const SoakDay::Holding now = SoakDay::holding();
        if (n == warmUp)
            start = now;
        if (n % 100 == 0 || n % std::max(1, arguments->runs / 10) == 0 || n == warmUp ||
            n == arguments->runs) {
            std::printf("%7d %10.1f %8.1f %12d %8d %15ju %12.2f\n", n, now.residentMegabytes,
                        now.heapMegabytes, now.descriptors, now.threads,
                        settingsBytes(settings.path().toStdString()),
                        static_cast<double>(clock.elapsed()) / 1000.0 / n);
            std::fflush(stdout);
        }
        if (n == arguments->runs && n > warmUp)
            std::printf("after the warm-up: memory %+.1f MB (heap %+.1f MB), descriptors %+d, "
                        "threads %+d; exports unlike the first: %d\n",
                        now.residentMegabytes - start.residentMegabytes,
                        now.heapMegabytes - start.heapMegabytes,
                        now.descriptors - start.descriptors, now.threads - start.threads,
                        differing);
    }
    return 0;
}
