#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// Runs `body` in a forked child and returns its exit status (or -1 when it did not exit):
// for conditions that would change the test process itself (another user, a file size limit).
inline int runInChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
