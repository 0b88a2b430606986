#include "timedomain/TSoundFile.h"

#include "core/TBinaryStream.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::size_t kWavHeader = 44;
// The sub-format of an extensible "fmt " chunk after its first two bytes (the format
// code): the tail every standard sub-format GUID shares.
constexpr std::uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr std::uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v)
{
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

bool ReadExact(std::FILE* f, void* into, std::size_t count) { return std::fread(into, 1, count, f) == count; }

bool SeekTo(std::FILE* f, std::uint64_t at)
{
    return at <= static_cast<std::uint64_t>(INT64_MAX) && ::fseeko(f, static_cast<off_t>(at), SEEK_SET) == 0;
}

std::int16_t Swapped(std::int16_t v)
{
    const auto u = static_cast<std::uint16_t>(v);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((u >> 8) | (u << 8)));
}

// Samples in the file's byte order are little-endian; only a big-endian host swaps.
void FromLittleEndian(std::int16_t* samples, std::size_t count)
{
    if constexpr (std::endian::native == std::endian::big)
        for (std::size_t i = 0; i < count; ++i)
            samples[i] = Swapped(samples[i]);
    else
        (void)samples, (void)count;
}

} // namespace

TSoundKind SoundKindOf(const std::string& path)
{
    if (path.size() < 4)
        return TSoundKind::RawPcm;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".wav" ? TSoundKind::Wav : TSoundKind::RawPcm;
}

std::string TWavFormat::Describe() const
{
    std::string channelText = channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string(channels) + " channel";
    std::string codingText = coding == kPcm     ? "PCM"
                             : coding == kFloat ? "floating point"
                                                : "audio in format " + std::to_string(coding);
    // Compressed formats give no sample size.
    const std::string size = bits > 0 ? std::to_string(bits) + " bit " : std::string();
    return size + channelText + " " + codingText + " at " + std::to_string(rate) + " Hz";
}

bool TSoundReader::Refuse(TSoundRefusal why)
{
    Close();
    refusal_ = why;
    return false;
}

bool TSoundReader::Open(const std::string& path)
{
    Close();
    refusal_ = TSoundRefusal::None;
    format_ = {};
    kind_ = SoundKindOf(path);
    file_ = OpenRegularFile(path);
    struct stat info {};
    if (!file_ || ::fstat(::fileno(file_), &info) != 0 || info.st_size < 0)
        return Refuse(TSoundRefusal::CannotOpen);
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (kind_ == TSoundKind::RawPcm) {
        bytesLeft_ = size / 2 * 2;
        return true;
    }
    return ReadWavHeader(size);
}

bool TSoundReader::ReadWavHeader(std::uint64_t fileSize)
{
    std::uint8_t riff[12] = {};
    const std::size_t got = std::fread(riff, 1, sizeof riff, file_);
    // A file that starts like a WAV and stops is a cut one; anything else is no WAV.
    if (std::memcmp(riff, "RIFF", std::min<std::size_t>(got, 4)) != 0 ||
        (got > 8 && std::memcmp(riff + 8, "WAVE", std::min<std::size_t>(got - 8, 4)) != 0))
        return Refuse(TSoundRefusal::NotWav);
    if (got < sizeof riff)
        return Refuse(TSoundRefusal::Damaged);

    bool haveFormat = false, haveData = false;
    std::uint64_t dataAt = 0, dataSize = 0;
    std::uint64_t at = sizeof riff;
    // Every chunk moves on by at least its 8-byte head, so the walk ends with the file.
    while (!(haveFormat && haveData) && at + 8 <= fileSize) {
        std::uint8_t head[8];
        if (!SeekTo(file_, at) || !ReadExact(file_, head, sizeof head))
            return Refuse(TSoundRefusal::Damaged);
        const std::uint32_t chunk = U32(head + 4);
        const std::uint64_t body = at + 8;
        if (std::memcmp(head, "fmt ", 4) == 0 && !haveFormat) {
            std::uint8_t fmt[40] = {};
            const std::size_t want = std::min<std::size_t>(chunk, sizeof fmt);
            if (chunk < 16 || body + want > fileSize || !ReadExact(file_, fmt, want))
                return Refuse(TSoundRefusal::Damaged);
            format_.formatTag = U16(fmt);
            format_.channels = U16(fmt + 2);
            format_.rate = U32(fmt + 4);
            format_.blockAlign = U16(fmt + 12);
            format_.bits = U16(fmt + 14);
            format_.coding = format_.formatTag;
            if (format_.formatTag == kExtensible && want >= 40 && U16(fmt + 16) >= 22 &&
                std::memcmp(fmt + 26, kGuidTail, sizeof kGuidTail) == 0)
                format_.coding = U16(fmt + 24);
            haveFormat = true;
        } else if (std::memcmp(head, "data", 4) == 0 && !haveData) {
            dataAt = body;
            dataSize = chunk;
            haveData = true;
        }
        at = body + chunk + (chunk & 1u);
    }
    if (!haveFormat || format_.channels == 0 || format_.rate == 0)
        return Refuse(TSoundRefusal::Damaged);
    if (!format_.Supported()) {
        // 16-bit stereo PCM whose frames are not 4 bytes long: no writer makes that.
        const bool wrongFrame = format_.Pcm() && format_.channels == 2 && format_.bits == 16;
        return Refuse(wrongFrame ? TSoundRefusal::Damaged : TSoundRefusal::Unsupported);
    }
    if (format_.rate > kMaxRate)
        return Refuse(TSoundRefusal::Unsupported);
    if (!haveData || !SeekTo(file_, dataAt))
        return Refuse(TSoundRefusal::Damaged);
    // A recorder that was cut off leaves a size larger than the file: read what is there.
    bytesLeft_ = std::min(dataSize, fileSize - std::min(fileSize, dataAt)) / 4 * 4;
    return true;
}

std::string TSoundReader::RefusalText(const std::string& path) const
{
    switch (refusal_) {
    case TSoundRefusal::None: return {};
    case TSoundRefusal::CannotOpen: return "Can not open file " + path + " for reading";
    case TSoundRefusal::NotWav: return path + " is not a WAV file: it has no RIFF WAVE header.";
    case TSoundRefusal::Damaged: return "The WAV header of " + path + " is damaged or cut short.";
    case TSoundRefusal::Unsupported:
        return path + " holds " + format_.Describe() + ".\nFilter music reads 16 bit stereo PCM WAV files only.";
    }
    return {};
}

std::size_t TSoundReader::Read(std::int16_t* samples, std::size_t count)
{
    if (!file_ || count == 0)
        return 0;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(count, bytesLeft_ / 2));
    const std::size_t got = std::fread(samples, 2, want, file_);
    bytesLeft_ = got == want ? bytesLeft_ - 2 * got : 0;
    FromLittleEndian(samples, got);
    return got;
}

void TSoundReader::Close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    bytesLeft_ = 0;
}

bool TSoundWriter::Create(const std::string& path, std::uint32_t rate)
{
    (void)Finish();
    // Writing into a FIFO would wait for a reader; a folder cannot be written at all.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISDIR(info.st_mode) || S_ISSOCK(info.st_mode)))
        return false;
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_)
        return false;
    kind_ = SoundKindOf(path);
    rate_ = std::min(rate, TSoundReader::kMaxRate);
    samples_ = 0;
    failed_ = false;
    if (kind_ == TSoundKind::Wav) {
        std::uint8_t h[kWavHeader] = {};
        std::memcpy(h, "RIFF", 4);
        Put32(h + 4, 36);
        std::memcpy(h + 8, "WAVEfmt ", 8);
        Put32(h + 16, 16);
        Put16(h + 20, kPcm);
        Put16(h + 22, 2);
        Put32(h + 24, rate_);
        Put32(h + 28, rate_ * 4);
        Put16(h + 32, 4);
        Put16(h + 34, 16);
        std::memcpy(h + 36, "data", 4);
        failed_ = std::fwrite(h, 1, sizeof h, file_) != sizeof h;
    }
    return true;
}

bool TSoundWriter::Write(const std::int16_t* samples, std::size_t count)
{
    if (!file_ || failed_)
        return false;
    if (count == 0)
        return true; // an empty buffer may have no storage at all
    if (kind_ == TSoundKind::Wav && (samples_ + count) * 2 > kMaxWavData) {
        failed_ = true; // past what a WAV's size fields can hold
        return false;
    }
    if constexpr (std::endian::native == std::endian::little) {
        failed_ = std::fwrite(samples, 2, count, file_) != count;
    } else {
        std::array<std::int16_t, 1024> swapped;
        for (std::size_t done = 0; done < count && !failed_;) {
            const std::size_t n = std::min(swapped.size(), count - done);
            for (std::size_t i = 0; i < n; ++i)
                swapped[i] = Swapped(samples[done + i]);
            failed_ = std::fwrite(swapped.data(), 2, n, file_) != n;
            done += n;
        }
    }
    if (!failed_)
        samples_ += count;
    return !failed_;
}

bool TSoundWriter::Finish()
{
    if (!file_)
        return true;
    if (kind_ == TSoundKind::Wav && !failed_) {
        if (samples_ % 2 != 0) {
            const std::int16_t silent = 0;
            failed_ = std::fwrite(&silent, 2, 1, file_) != 1;
            samples_ += failed_ ? 0 : 1;
        }
        const auto data = static_cast<std::uint32_t>(std::min(samples_ * 2, kMaxWavData));
        std::uint8_t size[4];
        Put32(size, 36 + data);
        failed_ = failed_ || !SeekTo(file_, 4) || std::fwrite(size, 1, 4, file_) != 4;
        Put32(size, data);
        failed_ = failed_ || !SeekTo(file_, 40) || std::fwrite(size, 1, 4, file_) != 4;
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed && !failed_;
}
