#include "TBinaryStream.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

template <typename T>
T FromLittleEndian(const std::uint8_t* p)
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bits |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    T value;
    if constexpr (sizeof(T) == 8) {
        std::memcpy(&value, &bits, sizeof(T));
    } else {
        using U = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint8_t>>;
        U narrow = static_cast<U>(bits);
        std::memcpy(&value, &narrow, sizeof(T));
    }
    return value;
}

template <typename T>
void AppendLittleEndian(std::vector<std::uint8_t>& out, T value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

bool WriteAll(int fd, const std::uint8_t* p, std::size_t count)
{
    while (count > 0) {
        ssize_t n = ::write(fd, p, count);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

// A descriptor for reading a regular file, -1 otherwise. The type is checked before the
// open, so a FIFO or a device is never opened, and on the open file, in case the name
// was replaced in between; O_NONBLOCK keeps even that open from waiting for a writer.
int OpenRegularDescriptor(const std::string& path)
{
    if (!IsRegularFile(path))
        return -1;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    // Regular files ignore O_NONBLOCK; it is cleared so the descriptor reads as usual.
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

} // namespace

bool IsRegularFile(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::FILE* OpenRegularFile(const std::string& path)
{
    int fd = OpenRegularDescriptor(path);
    if (fd < 0)
        return nullptr;
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f)
        ::close(fd);
    return f;
}

bool CanOpenRegularFile(const std::string& path)
{
    int fd = OpenRegularDescriptor(path);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

bool ReadFileStart(const std::string& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes)
{
    bytes.clear();
    int fd = OpenRegularDescriptor(path);
    if (fd < 0)
        return false;
    bool ok = true;
    std::uint8_t buffer[65536];
    while (bytes.size() < maxBytes) {
        const std::size_t wanted = std::min(sizeof buffer, maxBytes - bytes.size());
        const ssize_t n = ::read(fd, buffer, wanted);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (n == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    return ReadFileStart(path, bytes, bytes.max_size());
}

bool TBinaryReader::Open(const std::string& path, std::size_t maxBytes)
{
    pos_ = 0;
    failed_ = false;
    if (!ReadFileStart(path, data_, maxBytes)) {
        failed_ = true;
        return false;
    }
    return true;
}

bool TBinaryReader::Take(std::size_t count, const std::uint8_t*& from)
{
    if (failed_ || count > data_.size() - pos_) {
        failed_ = true;
        pos_ = data_.size();
        return false;
    }
    from = data_.data() + pos_;
    pos_ += count;
    return true;
}

bool TBinaryReader::ReadInt16(std::int16_t& value)
{
    const std::uint8_t* p = nullptr;
    value = 0;
    if (!Take(2, p))
        return false;
    value = FromLittleEndian<std::int16_t>(p);
    return true;
}

bool TBinaryReader::ReadInt32(std::int32_t& value)
{
    const std::uint8_t* p = nullptr;
    value = 0;
    if (!Take(4, p))
        return false;
    value = FromLittleEndian<std::int32_t>(p);
    return true;
}

bool TBinaryReader::ReadUInt8(std::uint8_t& value)
{
    const std::uint8_t* p = nullptr;
    value = 0;
    if (!Take(1, p))
        return false;
    value = *p;
    return true;
}

bool TBinaryReader::ReadDouble(double& value)
{
    const std::uint8_t* p = nullptr;
    value = 0.0;
    if (!Take(8, p))
        return false;
    value = FromLittleEndian<double>(p);
    return true;
}

bool TBinaryReader::ReadBytes(void* dest, std::size_t count)
{
    const std::uint8_t* p = nullptr;
    if (!Take(count, p)) {
        std::memset(dest, 0, count);
        return false;
    }
    std::memcpy(dest, p, count);
    return true;
}

bool TBinaryReader::ReadText(char* dest, std::size_t destSize, std::size_t fieldSize)
{
    if (destSize == 0)
        return Skip(fieldSize);
    dest[0] = '\0';
    const std::uint8_t* p = nullptr;
    if (!Take(fieldSize, p))
        return false;
    std::size_t n = 0;
    while (n < fieldSize && n + 1 < destSize && p[n] != 0) {
        dest[n] = static_cast<char>(p[n]);
        ++n;
    }
    dest[n] = '\0';
    return true;
}

bool TBinaryReader::ReadText(std::string& dest, std::size_t fieldSize)
{
    dest.clear();
    const std::uint8_t* p = nullptr;
    if (!Take(fieldSize, p))
        return false;
    std::size_t n = 0;
    while (n < fieldSize && p[n] != 0)
        ++n;
    dest.assign(reinterpret_cast<const char*>(p), n);
    return true;
}

bool TBinaryReader::Skip(std::size_t count)
{
    const std::uint8_t* p = nullptr;
    return Take(count, p);
}

void TBinaryWriter::WriteInt16(std::int16_t value) { AppendLittleEndian(data_, value); }
void TBinaryWriter::WriteInt32(std::int32_t value) { AppendLittleEndian(data_, value); }
void TBinaryWriter::WriteUInt8(std::uint8_t value) { data_.push_back(value); }
void TBinaryWriter::WriteDouble(double value) { AppendLittleEndian(data_, value); }

void TBinaryWriter::WriteBytes(const void* src, std::size_t count)
{
    const auto* p = static_cast<const std::uint8_t*>(src);
    data_.insert(data_.end(), p, p + count);
}

void TBinaryWriter::WriteText(std::string_view text, std::size_t fieldSize)
{
    if (fieldSize == 0)
        return;
    std::size_t n = std::min(text.size(), fieldSize - 1);
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        n = std::min(n, nul);
    WriteBytes(text.data(), n);
    WriteZeros(fieldSize - n);
}

void TBinaryWriter::WriteZeros(std::size_t count) { data_.insert(data_.end(), count, 0); }

bool TBinaryWriter::SaveTo(const std::string& path) const
{
    return SaveFileSafely(path, data_.data(), data_.size());
}

bool SaveFileSafely(const std::string& path, const void* bytes, std::size_t count)
{
    if (path.empty())
        return false;
    std::string temp = path + ".tmp-XXXXXX";
    std::vector<char> pattern(temp.begin(), temp.end());
    pattern.push_back('\0');
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    std::string tempName(pattern.data());
    bool ok = WriteAll(fd, static_cast<const std::uint8_t*>(bytes), count) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) {
        // Keep the permissions an existing file had, else the usual 0644.
        struct stat old {};
        ::chmod(tempName.c_str(), ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
        ok = std::rename(tempName.c_str(), path.c_str()) == 0;
    }
    if (!ok)
        ::unlink(tempName.c_str());
    return ok;
}
