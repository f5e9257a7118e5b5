// A FIFO (or anything else that is not a regular file) where the game expects a file counts as
// missing, and nothing waits for its other end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>

#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "tests/support/TempDir.h"

namespace {

// Runs `call` on its own thread. Should it block on the FIFO, the test opens the FIFO's other end
// after a while to release it, so that a fault fails the test instead of hanging it.
bool ReturnsWithoutWaiting(const std::string& fifo, const std::function<void()>& call) {
    std::future<void> done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return true;
    for (int mode : {O_WRONLY, O_RDONLY}) {
        int fd = open(fifo.c_str(), mode | O_NONBLOCK);
        if (fd >= 0) close(fd);
    }
    done.wait();
    return false;
}

}  // namespace

TEST(Fifo, EveryFileOperationTreatsAFifoAsMissingWithoutWaiting) {
    testing_support::TempDir dir;
    const std::string fifo = dir.File("settings.txt");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);

    bool opened = true;
    EXPECT_TRUE(ReturnsWithoutWaiting(fifo, [&] { opened = plat::OpenFileForReading(fifo) != nullptr; }));
    EXPECT_FALSE(opened);
    bool created = true;
    EXPECT_TRUE(ReturnsWithoutWaiting(fifo, [&] { created = plat::CreateFileForWriting(fifo) != nullptr; }));
    EXPECT_FALSE(created);
    EXPECT_FALSE(plat::FileExists(fifo));
    EXPECT_FALSE(plat::FileExists(dir.Path()));  // a folder is no file either

    // The settings file as a FIFO reads as a first run.
    size_t values = 1;
    EXPECT_TRUE(ReturnsWithoutWaiting(fifo, [&] { values = plat::FileSettingsStore(fifo).ValueCount(); }));
    EXPECT_EQ(values, 0u);
}
