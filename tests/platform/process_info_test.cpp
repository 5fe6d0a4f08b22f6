#include "platform/process_info.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ProcessInfo, ExecutableIsThisTestProgram) {
    const std::filesystem::path path = ExecutablePath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(ExecutableName(), "test_platform");
    EXPECT_EQ(ExecutableFolder() / ExecutableName(), path);
}

TEST(ProcessInfo, ProcessIdIsReadAfresh) {
    // A forked child must report its own id, not one remembered from the parent.
    const long parentId = ProcessId();
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const long childId = ProcessId();
        _exit(write(pipeEnds[1], &childId, sizeof childId) == sizeof childId ? 0 : 1);
    }
    close(pipeEnds[1]);
    long reported = 0;
    EXPECT_EQ(read(pipeEnds[0], &reported, sizeof reported), static_cast<ssize_t>(sizeof reported));
    close(pipeEnds[0]);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(reported, static_cast<long>(child));
    EXPECT_EQ(parentId, static_cast<long>(getpid()));
}

}  // namespace
}  // namespace platform
