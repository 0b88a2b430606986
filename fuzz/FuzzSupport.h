#pragma once
// What the fuzz targets share: a private folder for this process (made on first use,
// removed at exit, and the program folder of the targets' contexts, so no settings
// file of a real installation is read) and per-run input files inside it that are
// unlinked again, so a reader that takes a path sees the fuzzer's bytes as a file, and
// a check that stops the run when an invariant of the reader does not hold.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz {

inline const std::string& PrivateDir()
{
    // Never destroyed, so the removal at exit still has the name.
    static const std::string* dir = [] {
        auto* made = new std::string((std::filesystem::temp_directory_path() / "tonvek-fuzz-XXXXXX").string());
        if (!::mkdtemp(made->data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*dir, ec);
        });
        return made;
    }();
    return *dir;
}

// The bytes as a file in the private folder for the lifetime of the object.
class TTempFile {
public:
    TTempFile(const std::uint8_t* data, std::size_t size, const char* name = "input")
        : path_(PrivateDir() + "/" + name)
    {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (!f || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
            std::perror(path_.c_str());
            std::abort();
        }
    }
    ~TTempFile() { ::unlink(path_.c_str()); }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// An invariant the reader promises; a violation is reported as a crash.
inline void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant violated: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
