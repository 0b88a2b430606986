#pragma once
// Little-endian binary reading and writing for every file format of the program.
// Readers never read past the end: a short read sets a sticky failure flag and
// leaves the destination zeroed; text fields always come out NUL-terminated.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// What a binary reader takes from one file when its format sets no smaller bound. No
// file of the program comes near it.
inline constexpr std::size_t kDefaultReadLimit = std::size_t{1} << 20;

class TBinaryReader {
public:
    TBinaryReader() = default;
    explicit TBinaryReader(std::vector<std::uint8_t> bytes) : data_(std::move(bytes)) {}

    // Reads the start of a regular file, at most maxBytes: a format says where it ends,
    // and whatever follows is not read. False when the file cannot be opened or read,
    // or is not a regular file (see ReadFileStart).
    [[nodiscard]] bool Open(const std::string& path, std::size_t maxBytes = kDefaultReadLimit);

    [[nodiscard]] bool ReadInt16(std::int16_t& value);
    [[nodiscard]] bool ReadInt32(std::int32_t& value);
    [[nodiscard]] bool ReadUInt8(std::uint8_t& value);
    [[nodiscard]] bool ReadDouble(double& value);
    [[nodiscard]] bool ReadBytes(void* dest, std::size_t count);
    // A fixed text field of fieldSize bytes copied into dest[destSize]; dest is cut
    // and terminated whatever the field holds.
    [[nodiscard]] bool ReadText(char* dest, std::size_t destSize, std::size_t fieldSize);
    [[nodiscard]] bool ReadText(std::string& dest, std::size_t fieldSize);
    [[nodiscard]] bool Skip(std::size_t count);

    bool Failed() const { return failed_; }
    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }

private:
    bool Take(std::size_t count, const std::uint8_t*& from);

    std::vector<std::uint8_t> data_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

class TBinaryWriter {
public:
    void WriteInt16(std::int16_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt8(std::uint8_t value);
    void WriteDouble(double value);
    void WriteBytes(const void* src, std::size_t count);
    // Exactly fieldSize bytes: the text cut to fieldSize - 1 characters, NUL-padded.
    void WriteText(std::string_view text, std::size_t fieldSize);
    void WriteZeros(std::size_t count);

    std::size_t Size() const { return data_.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }

    // Writes the bytes to a temporary file in the target's folder and renames it over
    // the target only after the last byte was written and flushed. A failed save
    // leaves the old file untouched.
    [[nodiscard]] bool SaveTo(const std::string& path) const;

private:
    std::vector<std::uint8_t> data_;
};

// The safe save on its own, for callers that produce text.
[[nodiscard]] bool SaveFileSafely(const std::string& path, const void* bytes, std::size_t count);
// Only regular files are read. A name may point at anything: a FIFO would block the
// open until some writer comes, a device such as /dev/zero streams without end, and a
// folder has no bytes. Those are refused before they are opened, and the check is made
// again on the open file, which is opened without blocking.

// True when path (links followed) is a regular file.
[[nodiscard]] bool IsRegularFile(const std::string& path);
// A regular file opened for binary reading ("rb"); nullptr when it cannot be opened or
// is not a regular file. The caller closes it.
[[nodiscard]] std::FILE* OpenRegularFile(const std::string& path);
// True when path is a regular file that can be opened for reading; reads nothing.
[[nodiscard]] bool CanOpenRegularFile(const std::string& path);
// Reads at most maxBytes from the start of a regular file; false when it cannot be
// opened or read, or is not a regular file.
[[nodiscard]] bool ReadFileStart(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes);
// The whole of a regular file; for text whose format sets no length.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);
