// The sound file reader of filter music, from a path as the dialog opens it, named
// ".wav" (the header is checked) and ".pcm" (raw samples). A refused file hands out no
// sample; a taken one hands out whole samples only, never more than the file holds,
// and what it hands out writes to a WAV that reads back to the same samples at the
// same rate.

#include "FuzzSupport.h"

#include "timedomain/TSoundFile.h"

#include <vector>

namespace {

std::vector<std::int16_t> ReadAll(TSoundReader& reader)
{
    std::vector<std::int16_t> all;
    std::int16_t block[1024];
    while (std::size_t n = reader.Read(block, 1024)) {
        fuzz::Check(n <= 1024, "a read stays inside its block");
        all.insert(all.end(), block, block + n);
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (const char* name : {"input.wav", "input.pcm"}) {
        const fuzz::TTempFile file(data, size, name);
        TSoundReader reader;
        if (!reader.Open(file.Path())) {
            fuzz::Check(reader.Refusal() != TSoundRefusal::None, "a refusal says why");
            fuzz::Check(!reader.RefusalText(file.Path()).empty(), "a refusal has a message");
            std::int16_t s[4];
            fuzz::Check(reader.Read(s, 4) == 0, "a refused file hands out nothing");
            continue;
        }
        const bool wav = reader.Kind() == TSoundKind::Wav;
        fuzz::Check(!wav ||
                        (reader.Format().Supported() && reader.Rate() > 0 && reader.Rate() <= TSoundReader::kMaxRate),
                    "a taken WAV is 16-bit stereo PCM at a rate");
        const std::uint32_t rate = reader.Rate();
        const std::vector<std::int16_t> samples = ReadAll(reader);
        fuzz::Check(2 * samples.size() <= size, "never more samples than bytes");
        fuzz::Check(!wav || (samples.size() % 2 == 0 && 2 * samples.size() + 44 <= size),
                    "a WAV hands out whole frames after its 44 header bytes");

        const std::string copy = fuzz::PrivateDir() + "/copy.wav";
        TSoundWriter writer;
        fuzz::Check(writer.Create(copy, wav ? rate : 44100), "the copy can be made");
        fuzz::Check(writer.Write(samples.data(), samples.size()) && writer.Finish(), "the copy is written");
        TSoundReader back;
        fuzz::Check(back.Open(copy), "a written WAV reads back");
        fuzz::Check(back.Rate() == (wav ? rate : 44100u), "the rate is kept");
        std::vector<std::int16_t> again = ReadAll(back);
        std::vector<std::int16_t> expected = samples;
        if (expected.size() % 2 != 0)
            expected.push_back(0); // a half frame is completed
        fuzz::Check(again == expected, "a written WAV reads back to the same samples");
    }
    return 0;
}
