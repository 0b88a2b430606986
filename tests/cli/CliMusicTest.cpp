// tonvek-cli music: a WAV through a filter project keeps its rate and length, the
// overflow report and "Ready" go to stderr, and every refusal ends with a status of 1
// and no output file.

#include "support/CliRunner.h"
#include "timedomain/TSoundFile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CliMusicTest : public TScratchFolderTest {
protected:
    // A copy of the example, so set can change it.
    std::string Project()
    {
        const std::string project = File("p.flt");
        std::filesystem::copy_file(std::string(TONVEK_BIN_DIR) + "/examples/advanced2-10in-1in.flt", project);
        return project;
    }
    std::string Wav(const std::string& name, std::size_t frames, double amplitude, std::uint32_t rate)
    {
        std::vector<std::int16_t> s(2 * frames);
        for (std::size_t t = 0; t < 2 * frames; ++t)
            s[t] = static_cast<std::int16_t>(std::lround(amplitude * std::sin(0.05 * static_cast<double>(t / 2))));
        TSoundWriter w;
        EXPECT_TRUE(w.Create(File(name), rate) && w.Write(s.data(), s.size()) && w.Finish());
        return File(name);
    }
    TCliRun Music(const std::string& project, const std::string& in, const std::string& out,
                  const std::string& extra = "")
    {
        return RunTonvekCli("music " + ShellQuote(project) + " " + ShellQuote(in) + " -o " + ShellQuote(out) + extra,
                            dir_);
    }
};

TEST_F(CliMusicTest, AWavGoesThroughTheFilterAtItsOwnRateWithTheReportOnStderr)
{
    const std::string project = Project();
    const std::string in = Wav("in.wav", 24000, 10000, 48000);
    TCliRun r = Music(project, in, File("out.wav"), " --hrtf");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("music: 0.5 s written to"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("(N = 512, 48000 Hz)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Ready"), std::string::npos);
    TSoundReader out;
    ASSERT_TRUE(out.Open(File("out.wav")));
    EXPECT_EQ(out.Rate(), 48000u);
    EXPECT_EQ(out.SamplesLeft(), 2u * 24000 + 512);

    // Loud: clipped and reported; raw PCM out runs at the settings' rate.
    r = Music(project, in, File("out.pcm"), " --scale 40");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Overflow "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("dBOV"), std::string::npos);
    EXPECT_NE(r.err.find("48000 Hz"), std::string::npos);

    // The dialog's fields are listed with the project's others.
    r = RunTonvekCli("fields " + ShellQuote(project), dir_);
    EXPECT_NE(r.out.find("Filter music:Scale\t0.0\tdB\t-40 .. 40"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Filter music:Start\t(button)"), std::string::npos);
}

TEST_F(CliMusicTest, RefusalsEndWithStatusOneAndWriteNothing)
{
    const std::string project = Project();
    const std::string good = Wav("in.wav", 1000, 1000, 44100);
    // An 8-bit header over the same bytes.
    const std::string eight = File("eight.wav");
    std::filesystem::copy_file(good, eight);
    {
        std::FILE* f = std::fopen(eight.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fseek(f, 34, SEEK_SET);
        std::fputc(8, f);
        std::fclose(f);
    }
    struct TCase {
        std::string in, extra, inErr;
    };
    const TCase cases[] = {
        {File("missing.wav"), "", "Can not open file " + File("missing.wav") + " for reading"},
        {eight, "", "holds 8 bit stereo PCM at 44100 Hz"},
        {good, " --scale 50", "Scale takes -40 .. 40 dB"},
        {good, " --scale x", "refused"},
        {good, " --loud", "unexpected argument"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.inErr);
        TCliRun r = Music(project, c.in, File("out.wav"), c.extra);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.inErr), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(File("out.wav")));
    }
    EXPECT_EQ(Music(std::string(TONVEK_BIN_DIR) + "/examples/closed-10in.box", good, File("out.wav")).status, 1);

    ASSERT_EQ(RunTonvekCli("set " + ShellQuote(project) + " 'General settings:Disable IFFT=on'", dir_).status, 0);
    TCliRun r = Music(project, good, File("out.wav"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Impulse response disabled: Impulse reponse must be enabled for this feature"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(File("out.wav")));
}

} // namespace
