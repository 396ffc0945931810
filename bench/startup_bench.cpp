// Program start to main window shown, beside a plain Qt main window started the same way.
//   startup_bench DEMO_FILE [RUNS]
// Each run starts a fresh process on Qt's offscreen platform; the child notes the moment of
// its window's first paint on the system's monotonic clock.
#include "BenchArguments.h"
#include "app/Tfrm_xclquery.h"
#include "settings/DBLinkInfo.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Prints the time of the watched window's first paint and ends the program.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::printf("%.6f\n", monotonicSeconds());
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

int runChild(bool plain, int argc, char** argv) {
    std::freopen("/dev/null", "w", stderr); // keep the platform's notes out of the figures
    QApplication application(argc, argv);
    QApplication::setApplicationName("stockquery");
    FirstPaint watcher;
    QMainWindow* window = plain ? new QMainWindow : new Tfrm_xclquery;
    window->installEventFilter(&watcher);
    window->showMaximized();
    return QApplication::exec();
}

// Seconds from just before the process starts to its first paint.
double timeOneStart(const char* mode) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return 0;
    const double start = monotonicSeconds();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], 1);
        execl("/proc/self/exe", "startup_bench", mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    char text[64] = {};
    (void)!read(pipeEnds[0], text, sizeof text - 1);
    close(pipeEnds[0]);
    waitpid(pid, nullptr, 0);
    return std::atof(text) - start;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--child")
        return runChild(false, argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "--child-plain")
        return runChild(true, argc, argv);
    const auto arguments = benchArguments(argc, argv, "startup_bench DEMO_FILE [RUNS]", 10);
    if (!arguments)
        return 2;
    // The children start on the demo connection, kept in a settings store of their own.
    const std::string root = "/tmp/stockquery-startup-bench-settings";
    setenv("STOCKQUERY_SETTINGS_ROOT", root.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    writeDBLinkInfo({"sqlite:" + arguments->file, "demo", "demo", ""});
    const int runs = arguments->runs;
    std::vector<double> ours, plain;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(timeOneStart("--child"));
        plain.push_back(timeOneStart("--child-plain"));
    }
    std::sort(ours.begin(), ours.end());
    std::sort(plain.begin(), plain.end());
    std::filesystem::remove_all(root);
    const auto median = [](const std::vector<double>& v) { return v[v.size() / 2]; };
    std::printf("program start to main window shown (median of %d, offscreen platform):\n", runs);
    std::printf("  stockquery main window %7.1f ms | plain Qt main window %7.1f ms | ratio %.2f "
                "| target <= 300 ms\n",
                median(ours) * 1000, median(plain) * 1000, median(ours) / median(plain));
    return 0;
}
