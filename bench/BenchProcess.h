#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// One measured run: wall time and the process's peak resident memory.
struct Measurement {
    double seconds = 0;
    long peakKiB = 0;
    double cpuSeconds = 0; // user and system, of the whole process
};

inline double cpuSecondsOf(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Seconds that `work` takes in this process.
inline double secondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fewest seconds that `work` takes in `runs` runs.
inline double bestSecondsOf(int runs, const std::function<void()>& work) {
    double best = secondsOf(work);
    for (int run = 1; run < runs; ++run)
        best = std::min(best, secondsOf(work));
    return best;
}

// A memory figure of this process in KiB from /proc/self/status: "VmHWM" (the peak resident
// memory so far) or "VmRSS" (resident now).
inline long statusKiB(const char* key) {
    FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    long kib = 0;
    const std::string prefix = std::string(key) + ":";
    while (status && std::fgets(line, sizeof line, status))
        if (std::string_view(line).starts_with(prefix)) {
            std::sscanf(line + prefix.size(), "%ld", &kib);
            break;
        }
    if (status)
        std::fclose(status);
    return kib;
}

inline long peakResidentKiB() {
    return statusKiB("VmHWM");
}

// Starts the peak resident memory afresh from what is resident now (Linux 4.0 and later).
inline void resetPeakResident() {
    if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

// Runs this benchmark program again as a fresh process (so that nothing of the parent's
// memory counts) with the given arguments; the child reports the time its work took and its
// peak memory on stdout with reportChildMeasurement.
inline Measurement measureSelf(const std::vector<std::string>& argv) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], 1);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv("/proc/self/exe", args.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    Measurement m;
    char text[128] = {};
    (void)!read(pipeEnds[0], text, sizeof text - 1);
    close(pipeEnds[0]);
    rusage usage{};
    wait4(pid, nullptr, 0, &usage);
    std::sscanf(text, "%lf %ld", &m.seconds, &m.peakKiB);
    m.cpuSeconds = cpuSecondsOf(usage);
    return m;
}

// In a child started by measureSelf: times `work` and prints what the parent reads.
inline int reportChildMeasurement(const std::function<void()>& work) {
    const double seconds = secondsOf(work);
    std::printf("%.6f %ld\n", seconds, peakResidentKiB());
    return 0;
}

// Runs a program with stdin from `inputFile` and stdout to `outputFile`; wall time from the
// start of the program to its end, and its peak memory.
inline Measurement measureProgram(const std::vector<std::string>& argv,
                                  const std::string& inputFile, const std::string& outputFile) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open(inputFile.c_str(), O_RDONLY);
        const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, 0);
        dup2(out, 1);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Measurement m;
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.peakKiB = usage.ru_maxrss;
    m.cpuSeconds = cpuSecondsOf(usage);
    return m;
}

// The best of several runs of two rivals, taken in turns so that a busy moment of the machine
// falls on both alike: the runs least disturbed by the rest of the machine.
struct Comparison {
    Measurement ours;
    Measurement peer;
};

inline Comparison bestOfAlternating(int runs, const std::function<Measurement()>& ours,
                                    const std::function<Measurement()>& peer) {
    Comparison best{ours(), peer()};
    for (int i = 1; i < runs; ++i) {
        for (auto [run, into] : {std::pair{&ours, &best.ours}, std::pair{&peer, &best.peer}}) {
            const Measurement m = (*run)();
            into->seconds = std::min(into->seconds, m.seconds);
            into->peakKiB = std::min(into->peakKiB, m.peakKiB);
            into->cpuSeconds = std::min(into->cpuSeconds, m.cpuSeconds);
        }
    }
    return best;
}
