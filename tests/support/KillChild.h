#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace dv::test {

// Runs `work` in a child process and kills it (SIGKILL) as soon as it writes a byte to the
// descriptor it is given, as a program killed in the middle of a batch. Fails the test when the
// child ended before it wrote, or did not die of the signal.
inline void killChildWhenSignalled(const std::function<void(int signalFd)>& work) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ends[0]);
        work(ends[1]);
        _exit(2);  // the work ended without being killed
    }
    close(ends[1]);
    char byte = 0;
    const bool reached = read(ends[0], &byte, 1) == 1;
    close(ends[0]);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(reached) << "the child ended with status " << status << " before the pass";
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

}  // namespace dv::test
