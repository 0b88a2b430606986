#pragma once
// A private program folder for one test, so preference files never touch the build
// tree.

#include "core/TProgramFolder.h"
#include "settings/TMeasSetup.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

class TMeasSetupFolder {
public:
    TMeasSetupFolder()
    {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("tonvek-msetup-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        program_ = TProgramFolder(path_.string());
    }
    ~TMeasSetupFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TMeasSetupFolder(const TMeasSetupFolder&) = delete;
    TMeasSetupFolder& operator=(const TMeasSetupFolder&) = delete;

    std::string Prefs() const { return (path_ / "msetup.prf").string(); }
    const std::filesystem::path& Path() const { return path_; }
    const TProgramFolder& Program() const { return program_; }

    void WritePrefs(const std::vector<std::uint8_t>& bytes) const
    {
        std::ofstream f(Prefs(), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::uint8_t> ReadPrefs() const
    {
        std::ifstream f(Prefs(), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path path_;
    TProgramFolder program_;
};

// Little-endian encoding written out by hand, independent of the stream classes.
template <typename T>
void PutLE(std::vector<std::uint8_t>& out, T value)
{
    std::uint64_t bits = 0;
    static_assert(sizeof(T) <= 8);
    std::memcpy(&bits, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<std::uint8_t>((bits >> (8 * i)) & 0xff));
}

template <typename T>
void PokeLE(std::vector<std::uint8_t>& bytes, std::size_t offset, T value)
{
    std::vector<std::uint8_t> enc;
    PutLE(enc, value);
    for (std::size_t i = 0; i < enc.size(); ++i)
        bytes.at(offset + i) = enc[i];
}
