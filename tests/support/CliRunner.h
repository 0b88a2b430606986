#pragma once
// Runs the built tonvek-cli as a process and a scratch folder per test; shared by the
// tests that check the command line from the outside.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct TCliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadTextFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One argument quoted for the shell.
inline std::string ShellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// args are already quoted for the shell.
inline TCliRun RunTonvekCli(const std::string& args, const std::filesystem::path& scratch)
{
    const std::filesystem::path errFile = scratch / "cli-stderr.txt";
    std::string command =
        std::string("'") + TONVEK_BIN_DIR + "/tonvek-cli' " + args + " 2>'" + errFile.string() + "'";
    TCliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = ReadTextFile(errFile);
    return run;
}

// A fresh folder under the system temp folder, removed when the fixture ends.
class TScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("tonvek-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::filesystem::path dir_;
};
