// One round of a crash test of saving: a child process saves over and over and is killed at a random
// moment, so that a test can look at what the kill left on the disk.
#pragma once

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>

#include "core/Types.h"

namespace testing_support {

// A child process calls save(generation) for generation = after + 1, after + 2, ... and reports each
// finished save down a pipe; the parent kills it after 1..3 reports (drawn from `random`), which puts
// the kill at a random point of the next save. `reported` is the last generation reported (`after` when
// none was). Fails when the child could not be made or stopped on its own (a save that failed).
inline testing::AssertionResult KillWhileSaving(std::mt19937& random, u32 after,
                                                const std::function<bool(u32)>& save, u32& reported) {
    reported = after;
    int channel[2];
    if (pipe(channel) != 0) return testing::AssertionFailure() << "no pipe";
    const pid_t child = fork();
    if (child < 0) return testing::AssertionFailure() << "no child process";
    if (child == 0) {
        close(channel[0]);
        for (u32 generation = after + 1;; ++generation) {
            if (!save(generation)) _exit(2);
            if (write(channel[1], &generation, sizeof generation) != sizeof generation) _exit(3);
        }
    }
    close(channel[1]);
    const u32 wanted = 1 + random() % 3;
    u32 generation = after;
    for (u32 seen = 0;
         seen < wanted && read(channel[0], &generation, sizeof generation) == sizeof generation;)
        ++seen;
    ::kill(child, SIGKILL);
    int status = 0;
    const bool waited = waitpid(child, &status, 0) == child;
    // Reports sent before the kill landed.
    while (read(channel[0], &generation, sizeof generation) == sizeof generation) {
    }
    close(channel[0]);
    reported = generation;
    if (!waited) return testing::AssertionFailure() << "the child was not reaped";
    if (!WIFSIGNALED(status))
        return testing::AssertionFailure() << "the child stopped on its own: " << status;
    return testing::AssertionSuccess();
}

}  // namespace testing_support
