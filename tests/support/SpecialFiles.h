#pragma once
// Names a file reader may be pointed at that are not regular files: a FIFO nobody
// writes to (opening it for reading would wait for a writer), /dev/zero (endless
// zeros) and a folder; and a look at how many bytes the process has read.

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace specialfiles {

inline constexpr const char* kZero = "/dev/zero";

// A FIFO in dir, made with mkfifo.
inline std::string MakeFifo(const std::filesystem::path& dir, const std::string& name = "fifo")
{
    const std::string path = (dir / name).string();
    ::unlink(path.c_str());
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
    return path;
}

// Runs work on a thread and tells whether it returned within the time. When it did
// not, a writer opens and closes the FIFO, so that a reader stuck on it sees the end
// of the file and returns; the test fails instead of hanging.
inline bool FinishesWithin(std::chrono::milliseconds limit, const std::string& fifo, const std::function<void()>& work)
{
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(limit) == std::future_status::ready) {
        done.get();
        return true;
    }
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    done.get();
    return false;
}

// Bytes the process has read through read() so far (rchar of /proc/self/io), or -1.
inline long long BytesReadSoFar()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = -1;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

} // namespace specialfiles
