#pragma once
// Sound files for filter music, streamed in both directions so an input of any length
// is never held in memory:
//
//   raw PCM  16-bit little-endian samples, left and right interleaved, no header; its
//            rate is whatever the user says (the general settings' sample rate).
//   WAV      RIFF "WAVE" with a "fmt " chunk of PCM (format 1, or the extensible form
//            whose sub-format is PCM), 2 channels, 16 bits, any rate, and a "data"
//            chunk. Chunks the program has no use for are skipped.
//
// The name chooses the kind: ".wav" in any letter case is WAV, every other name raw PCM.
// A reader never hands out part of a sample: an odd last byte of a raw file is left
// out, and so is a WAV's last frame when the data stop in the middle of one. A WAV
// whose data chunk claims more than the file holds is read as far as it goes.
//
// A writer puts a WAV header with empty sizes first and fills them in when it
// finishes, so a run stopped early still leaves a valid file; a trailing half frame is
// completed with a silent right sample, since a WAV holds whole frames only.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

enum class TSoundKind { RawPcm, Wav };

TSoundKind SoundKindOf(const std::string& path);

// Why a reader refused its file.
enum class TSoundRefusal {
    None,
    CannotOpen,  // missing, unreadable, or not a regular file
    NotWav,      // no RIFF "WAVE" header at all
    Damaged,     // a header cut short or with sizes no WAV writer makes
    Unsupported, // a sound WAV, but not 16-bit stereo PCM
};

// What a WAV's "fmt " chunk says.
struct TWavFormat {
    std::uint16_t formatTag = 0; // 1 PCM, 3 float, 0xFFFE extensible, ...
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
    // The coding of the samples: the format tag, or an extensible chunk's sub-format.
    std::uint16_t coding = 0;

    bool Pcm() const { return coding == 1; }
    bool Supported() const { return Pcm() && channels == 2 && bits == 16 && blockAlign == 4; }
    // "8 bit mono PCM at 22050 Hz", "32 bit stereo floating point at 48000 Hz".
    std::string Describe() const;
};

class TSoundReader {
public:
    // The largest rate taken; nothing real comes near it, and twice it still fits the
    // byte-rate field of a WAV written back.
    static constexpr std::uint32_t kMaxRate = 1000000;

    TSoundReader() = default;
    ~TSoundReader() { Close(); }
    TSoundReader(const TSoundReader&) = delete;
    TSoundReader& operator=(const TSoundReader&) = delete;

    // Opens path and, for a WAV name, checks its header; false with Refusal() saying why
    // (the file is closed again).
    [[nodiscard]] bool Open(const std::string& path);
    TSoundRefusal Refusal() const { return refusal_; }
    // The refusal as the user reads it, naming the file; empty when none.
    std::string RefusalText(const std::string& path) const;

    TSoundKind Kind() const { return kind_; }
    // The WAV header's format (all 0 for raw PCM or before a header was read).
    const TWavFormat& Format() const { return format_; }
    // A WAV's sample rate; 0 for raw PCM, which carries none.
    std::uint32_t Rate() const { return kind_ == TSoundKind::Wav ? format_.rate : 0; }
    // Whole samples not read yet.
    std::uint64_t SamplesLeft() const { return bytesLeft_ / 2; }

    // Reads up to count samples into samples; returns how many (0 at the end or on a
    // read error).
    std::size_t Read(std::int16_t* samples, std::size_t count);
    void Close();

private:
    bool Refuse(TSoundRefusal why);
    bool ReadWavHeader(std::uint64_t fileSize);

    std::FILE* file_ = nullptr;
    TSoundKind kind_ = TSoundKind::RawPcm;
    TSoundRefusal refusal_ = TSoundRefusal::None;
    TWavFormat format_;
    std::uint64_t bytesLeft_ = 0; // whole samples (whole frames of a WAV) only
};

class TSoundWriter {
public:
    // The most sample bytes a WAV's size fields can describe (whole frames).
    static constexpr std::uint64_t kMaxWavData = (0xFFFFFFFFull - 36) / 4 * 4;

    TSoundWriter() = default;
    ~TSoundWriter() { (void)Finish(); }
    TSoundWriter(const TSoundWriter&) = delete;
    TSoundWriter& operator=(const TSoundWriter&) = delete;

    // Creates path for binary writing, replacing what was there; a WAV name gets its
    // header at once. rate goes into the WAV header (raw PCM keeps none).
    [[nodiscard]] bool Create(const std::string& path, std::uint32_t rate);
    bool IsOpen() const { return file_ != nullptr; }
    TSoundKind Kind() const { return kind_; }
    // Appends count samples; false once any write failed.
    bool Write(const std::int16_t* samples, std::size_t count);
    // Completes a half frame, fills in the WAV sizes and closes; false when any write or
    // the close failed. Does nothing when nothing is open.
    bool Finish();
    std::uint64_t SamplesWritten() const { return samples_; }

private:
    std::FILE* file_ = nullptr;
    TSoundKind kind_ = TSoundKind::RawPcm;
    std::uint32_t rate_ = 0;
    std::uint64_t samples_ = 0;
    bool failed_ = false;
};
