// Sound files: raw PCM and 16-bit stereo WAV written and read back sample for sample
// with their rate and exact header bytes, odd byte counts and half frames, WAV headers
// of every kind the reader must refuse or take, and outputs that cannot be written.
#include "timedomain/TSoundFile.h"

#include "support/SpecialFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Per process and test: ctest runs the tests of a file side by side.
std::string TempPath(const std::string& name)
{
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return (fs::temp_directory_path() / ("tonvek_sound_" + std::to_string(::getpid()) + "_" + test + "_" + name))
        .string();
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Put(Bytes& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Tag(Bytes& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

// A WAV header: RIFF, a 16-byte (or extensible 40-byte) fmt chunk, then the data head.
Bytes Wav(std::uint16_t format, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::uint32_t dataBytes,
          const Bytes& before = {})
{
    Bytes b;
    Tag(b, "RIFF");
    Put(b, 36 + dataBytes, 4);
    Tag(b, "WAVE");
    b.insert(b.end(), before.begin(), before.end());
    Tag(b, "fmt ");
    const bool extensible = format == 0xFFFE;
    Put(b, extensible ? 40 : 16, 4);
    Put(b, format, 2);
    Put(b, channels, 2);
    Put(b, rate, 4);
    Put(b, rate * channels * bits / 8, 4);
    Put(b, channels * bits / 8, 2);
    Put(b, bits, 2);
    if (extensible) {
        Put(b, 22, 2);
        Put(b, bits, 2);
        Put(b, 3, 4);
        const std::uint8_t pcmGuid[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
        b.insert(b.end(), pcmGuid, pcmGuid + 16);
    }
    Tag(b, "data");
    Put(b, dataBytes, 4);
    return b;
}

std::vector<std::int16_t> Ramp(std::size_t count)
{
    std::vector<std::int16_t> s(count);
    for (std::size_t i = 0; i < count; ++i)
        s[i] = static_cast<std::int16_t>(static_cast<int>(i * 7919 % 65536) - 32768);
    return s;
}

std::vector<std::int16_t> ReadAll(TSoundReader& reader, std::size_t block = 1000)
{
    std::vector<std::int16_t> all, part(block);
    while (std::size_t n = reader.Read(part.data(), block))
        all.insert(all.end(), part.begin(), part.begin() + static_cast<std::ptrdiff_t>(n));
    return all;
}

TEST(SoundFile, WrittenFilesReadBackWithTheirRateAndAWavHeaderWithExactSizes)
{
    struct TCase {
        const char* name;
        std::size_t samples;
        std::size_t expectRead; // a WAV completes a half frame with a silent sample
    };
    const TCase cases[] = {{"a.wav", 0, 0},       {"b.WAV", 4096, 4096}, {"c.wav", 5, 6},
                           {"d.pcm", 4096, 4096}, {"e.raw", 5, 5},       {"f.pcm", 0, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = TempPath(c.name);
        const std::vector<std::int16_t> samples = Ramp(c.samples);
        {
            TSoundWriter w;
            ASSERT_TRUE(w.Create(path, 48000));
            // In two pieces, as blocks arrive.
            ASSERT_TRUE(w.Write(samples.data(), samples.size() / 2));
            ASSERT_TRUE(w.Write(samples.data() + samples.size() / 2, samples.size() - samples.size() / 2));
            ASSERT_TRUE(w.Finish());
        }
        const bool wav = SoundKindOf(path) == TSoundKind::Wav;
        const Bytes bytes = ReadBytes(path);
        if (wav) {
            Bytes header = Wav(1, 2, 48000, 16, static_cast<std::uint32_t>(2 * c.expectRead));
            ASSERT_EQ(bytes.size(), 44 + 2 * c.expectRead);
            EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
        } else {
            EXPECT_EQ(bytes.size(), 2 * c.samples);
        }
        TSoundReader r;
        ASSERT_TRUE(r.Open(path));
        EXPECT_EQ(r.Rate(), wav ? 48000u : 0u);
        EXPECT_EQ(r.SamplesLeft(), c.expectRead);
        std::vector<std::int16_t> expected = samples;
        expected.resize(c.expectRead, 0);
        EXPECT_EQ(ReadAll(r, 7), expected);
        fs::remove(path);
    }
}

TEST(SoundFile, WavHeadersThatAreNot16BitStereoPcmOrAreCutAreRefusedByName)
{
    Bytes shortFmt = Wav(1, 2, 44100, 16, 4);
    shortFmt[16] = 14; // a fmt chunk too short for its fields
    Bytes noData = Wav(1, 2, 44100, 16, 0);
    noData.resize(noData.size() - 8);
    Bytes zeroRate = Wav(1, 2, 0, 16, 4);
    Bytes badAlign = Wav(1, 2, 44100, 16, 4);
    badAlign[32] = 6;
    struct TCase {
        const char* what;
        Bytes bytes;
        TSoundRefusal refusal;
        const char* inText;
    };
    std::vector<TCase> cases = {
        {"8 bit mono", Wav(1, 1, 22050, 8, 4), TSoundRefusal::Unsupported, "holds 8 bit mono PCM at 22050 Hz"},
        {"16 bit mono", Wav(1, 1, 44100, 16, 4), TSoundRefusal::Unsupported, "16 bit mono PCM"},
        {"float", Wav(3, 2, 48000, 32, 8), TSoundRefusal::Unsupported, "32 bit stereo floating point at 48000 Hz"},
        {"24 bit", Wav(1, 2, 96000, 24, 6), TSoundRefusal::Unsupported, "24 bit stereo PCM"},
        {"six channels", Wav(1, 6, 48000, 16, 12), TSoundRefusal::Unsupported, "6 channel"},
        {"compressed", Wav(85, 2, 44100, 0, 4), TSoundRefusal::Unsupported, "holds stereo audio in format 85 at"},
        {"text",
         {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!'},
         TSoundRefusal::NotWav,
         "is not a WAV file"},
        {"RIFF but no WAVE", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, TSoundRefusal::NotWav, "no RIFF"},
        {"fmt too short", shortFmt, TSoundRefusal::Damaged, "damaged"},
        {"no data chunk", noData, TSoundRefusal::Damaged, "damaged"},
        {"rate 0", zeroRate, TSoundRefusal::Damaged, "damaged"},
        {"frames of 6 bytes", badAlign, TSoundRefusal::Damaged, "damaged"},
        {"empty", {}, TSoundRefusal::Damaged, "damaged"},
    };
    // Every cut of a good header is a damaged file, never a crash or a read past it.
    const Bytes good = Wav(1, 2, 44100, 16, 4);
    for (std::size_t cut = 1; cut < good.size(); ++cut)
        cases.push_back({"cut", Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)),
                         TSoundRefusal::Damaged, "cut short"});
    const std::string path = TempPath("refused.wav");
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + std::to_string(c.bytes.size()));
        WriteBytes(path, c.bytes);
        TSoundReader r;
        EXPECT_FALSE(r.Open(path));
        EXPECT_EQ(r.Refusal(), c.refusal);
        EXPECT_NE(r.RefusalText(path).find(c.inText), std::string::npos) << r.RefusalText(path);
        EXPECT_NE(r.RefusalText(path).find(path), std::string::npos);
        std::int16_t s[4];
        EXPECT_EQ(r.Read(s, 4), 0u);
    }
    fs::remove(path);
}

TEST(SoundFile, ReaderTakesOddLengthsCutDataOtherChunksAndTheExtensibleForm)
{
    const std::string path = TempPath("odd.wav");
    const Bytes samples = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0};
    struct TCase {
        const char* what;
        Bytes bytes;
        std::vector<std::int16_t> expected;
    };
    Bytes listFirst;
    Tag(listFirst, "LIST");
    Put(listFirst, 3, 4); // an odd chunk is followed by a pad byte
    listFirst.insert(listFirst.end(), {'a', 'b', 'c', 0});
    auto with = [](Bytes head, const Bytes& body) {
        head.insert(head.end(), body.begin(), body.end());
        return head;
    };
    const TCase cases[] = {
        // 14 bytes of data: the half frame at the end is left out.
        {"half frame", with(Wav(1, 2, 44100, 16, 14), samples), {1, 2, 3, 4, 5, 6}},
        // The data chunk claims more than the file holds: what is there is read.
        {"cut data", with(Wav(1, 2, 44100, 16, 4000), Bytes(samples.begin(), samples.begin() + 9)), {1, 2, 3, 4}},
        {"chunk before fmt", with(Wav(1, 2, 8000, 16, 8, listFirst), samples), {1, 2, 3, 4}},
        {"extensible", with(Wav(0xFFFE, 2, 44100, 16, 8), samples), {1, 2, 3, 4}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.bytes);
        TSoundReader r;
        ASSERT_TRUE(r.Open(path)) << r.RefusalText(path);
        EXPECT_EQ(ReadAll(r, 3), c.expected);
    }
    fs::remove(path);

    // A raw file of an odd number of bytes: the last byte is no sample.
    const std::string raw = TempPath("odd.pcm");
    WriteBytes(raw, {1, 0, 2, 0, 3});
    TSoundReader r;
    ASSERT_TRUE(r.Open(raw));
    EXPECT_EQ(ReadAll(r), (std::vector<std::int16_t>{1, 2}));
    fs::remove(raw);
    EXPECT_FALSE(r.Open(raw));
    EXPECT_EQ(r.RefusalText(raw), "Can not open file " + raw + " for reading");
}

TEST(SoundFile, OutputsThatCannotBeWrittenSaySo)
{
    TSoundWriter w;
    // A folder, a FIFO (which would wait for a reader) and a missing folder.
    EXPECT_FALSE(w.Create(fs::temp_directory_path().string(), 44100));
    const std::string fifo = specialfiles::MakeFifo(fs::temp_directory_path(), "tonvek_sound_fifo.wav");
    EXPECT_FALSE(w.Create(fifo, 44100));
    fs::remove(fifo);
    EXPECT_FALSE(w.Create(TempPath("no/such/folder.wav"), 44100));
    // A full disk shows when the buffered samples go out, at the latest when finishing.
    if (fs::exists("/dev/full")) {
        ASSERT_TRUE(w.Create("/dev/full", 44100));
        const std::vector<std::int16_t> block(8192, 1);
        bool ok = true;
        for (int i = 0; i < 4 && ok; ++i)
            ok = w.Write(block.data(), block.size());
        EXPECT_FALSE(ok && w.Finish());
    }
}

} // namespace
