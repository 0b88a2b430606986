// Filter music over a known response: levels through a low-pass, the HRTF simulation's
// shaping and crosstalk, saturation and the overflow report, inputs shorter than a
// block, every refusal and file message, stopping and closing during a run, and that a
// block allocates nothing.
#include "timedomain/TSimDialog.h"

#include "support/AllocationCounting.h"
#include "support/SoundSamples.h"
#include "timedomain/TImpResponse.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr double kTwoPi = 6.283185307179586;

// Per process and test: ctest runs the tests of a file side by side.
std::string TempPath(const std::string& name)
{
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return (fs::temp_directory_path() / ("tonvek_music_" + std::to_string(::getpid()) + "_" + test + "_" + name))
        .string();
}

// Stereo frames of sines: each channel a sum of (amplitude, frequency) pairs.
using Tones = std::vector<std::pair<double, double>>;
std::vector<std::int16_t> Stereo(std::size_t frames, const Tones& left, const Tones& right, double fs = 44100)
{
    std::vector<std::int16_t> s(2 * frames);
    for (std::size_t t = 0; t < frames; ++t) {
        double l = 0, r = 0;
        for (auto [a, f] : left)
            l += a * std::sin(kTwoPi * f * static_cast<double>(t) / fs);
        for (auto [a, f] : right)
            r += a * std::sin(kTwoPi * f * static_cast<double>(t) / fs);
        s[2 * t] = static_cast<std::int16_t>(std::lround(l));
        s[2 * t + 1] = static_cast<std::int16_t>(std::lround(r));
    }
    return s;
}

// Amplitude of the sine at f in channel ch over frames [from, from + count).
double Amplitude(const std::vector<std::int16_t>& s, int ch, double f, std::size_t from, std::size_t count,
                 double fs = 44100)
{
    double re = 0, im = 0;
    for (std::size_t t = from; t < from + count; ++t) {
        const double phase = kTwoPi * f * static_cast<double>(t) / fs;
        re += s[2 * t + static_cast<std::size_t>(ch)] * std::cos(phase);
        im += s[2 * t + static_cast<std::size_t>(ch)] * std::sin(phase);
    }
    return 2 * std::hypot(re, im) / static_cast<double>(count);
}

double Db(double ratio) { return 20 * std::log10(ratio); }

struct MusicBench {
    THeadlessHost host;
    TPlotStyles styles;
    TGeneral general;
    TLineStyle line{TColors::Black, 1, TDash::Solid};
    std::array<TComplex, TFilterGrid::kPoints> response{};
    TImpResponse window{host, styles, nullptr, general, line};
    std::unique_ptr<TSimDialog> dialog;
    std::string in = TempPath("in.wav"), out = TempPath("out.wav");

    explicit MusicBench(int n = 512, const std::function<TComplex(double)>& h = {})
    {
        EXPECT_TRUE(general.SetPoints(n / 2));
        for (int i = 0; i < TFilterGrid::kPoints; ++i)
            response[static_cast<std::size_t>(i)] = h ? h(general.FilterGrid().Frequency(i)) : TComplex{1.0, 0.0};
        window.SetResponse(response.data());
        dialog = std::make_unique<TSimDialog>(host, window, general);
        window.musicInput.initialName = in;
        window.musicOutput.initialName = out;
    }
    ~MusicBench()
    {
        dialog.reset();
        fs::remove(in);
        fs::remove(out);
    }
    // Opens the dialog, presses "Start" and runs every idle step.
    std::vector<std::int16_t> Run(const std::vector<std::int16_t>& input)
    {
        EXPECT_TRUE(WriteSamples(in, input));
        EXPECT_TRUE(dialog->Setup());
        dialog->Press(TSimDialog::kStartStop);
        EXPECT_EQ(dialog->State(), TSimDialog::TState::Running);
        host.RunDeferred();
        EXPECT_EQ(dialog->State(), TSimDialog::TState::Idle);
        return ReadSamples(out);
    }
};

TEST(SimDialog, TwoSinesThroughALowPassComeOutAsFarApartAsItsGainsAre)
{
    // A first-order low-pass whose gain at bin 600 is exactly 20 dB below bin 20's.
    const int n = 2048;
    const double df = 44100.0 / n, f1 = 20 * df, f2 = 600 * df;
    const double fc = std::sqrt((f2 * f2 - 100 * f1 * f1) / 99);
    MusicBench b(n, [fc](double f) { return 1.0 / TComplex(1.0, f / fc); });
    const std::size_t frames = 40 * n;
    const std::vector<std::int16_t> output = b.Run(Stereo(frames, {{8000, f1}, {8000, f2}}, {{8000, f2}}));
    ASSERT_EQ(output.size(), 2 * frames + n);
    // Whole blocks after the start-up, where both sines are steady.
    const std::size_t from = 4 * n, count = 32 * n;
    const double a1 = Amplitude(output, 0, f1, from, count), a2 = Amplitude(output, 0, f2, from, count);
    EXPECT_NEAR(Db(a1 / a2), 20.0, 0.2);
    EXPECT_NEAR(Db(Amplitude(output, 1, f2, from, count) / a2), 0.0, 0.05);
    EXPECT_EQ(b.dialog->Overflows(), 0);
    EXPECT_EQ(b.dialog->Field(TSimDialog::kStatus).text, "");
    EXPECT_NEAR(b.dialog->Elapsed(), frames / 44100.0, 1e-9);
    EXPECT_EQ(b.host.LastMessage()->text, "Ready");
}

TEST(SimDialog, HrtfShapesTheLevelAndFeedsTheCrosstalkPathToTheOtherChannel)
{
    const int n = 2048;
    const double df = 44100.0 / n;
    struct TCase {
        int bin;
        double shapingDb, crosstalkDb; // from the shaping and crosstalk curves at the bin
    };
    const double f2k = 93 * df, f300 = 14 * df;
    const TCase cases[] = {
        {93, 20 * (-0.05 - 0.05), 20 * (-0.35 - 0.15 * std::log(f2k / 1000) / std::log(4.0))},
        {14, 20 * (-0.05 + 0.06 * std::log(f300 / 100) / std::log(5.0) - 0.2),
         20 * (-0.1 * std::log(f300 / 100) / std::log(6.0))},
        {418, 20 * (-0.05 - 0.05), -20.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.bin);
        const double f = c.bin * df;
        const std::size_t frames = 24 * n, from = 4 * n, count = 16 * n;
        const std::vector<std::int16_t> input = Stereo(frames, {{10000, f}}, {});
        MusicBench plain(n);
        const double reference = Amplitude(plain.Run(input), 0, f, from, count);
        MusicBench b(n);
        b.window.musicHrtf = true;
        const std::vector<std::int16_t> output = b.Run(input);
        const double left = Amplitude(output, 0, f, from, count), right = Amplitude(output, 1, f, from, count);
        EXPECT_NEAR(Db(left / reference), c.shapingDb, 0.1);
        EXPECT_NEAR(Db(right / left), c.crosstalkDb, 0.2);
    }
}

TEST(SimDialog, OutputSaturatesAtFullScaleAndCountsFramesAboveIt)
{
    struct TCase {
        double value;
        std::int16_t sample;
    };
    // trunc(value + 0.5) after saturation: negative values round up at .5 and toward 0.
    const TCase cases[] = {{-32767.4, -32766}, {32767.5, 32767},  {32768.0, 32767},   {1e300, 32767},
                           {-1e300, -32766},   {0.49, 0},         {-0.5, 0},          {-1.51, -1},
                           {2.5, 3},           {std::nan(""), 0}, {-32767.0, -32766}, {-32768.0, -32766}};
    for (const TCase& c : cases)
        EXPECT_EQ(TSimDialog::ToSample(c.value), c.sample) << c.value;
    EXPECT_FALSE(TSimDialog::IsOverflow(32767.5, -32768.0));
    EXPECT_TRUE(TSimDialog::IsOverflow(0.0, -32768.001));
    EXPECT_TRUE(TSimDialog::IsOverflow(std::nan(""), 40000.0));

    // A full-scale sine 6 dB up: about half its samples pass full scale, by 6 dB.
    MusicBench b(512);
    b.window.musicScale = 6.0206;
    const double f = 40 * 44100.0 / 512;
    const std::vector<std::int16_t> output = b.Run(Stereo(20 * 512, {{32767, f}}, {{-32767, f}}));
    int clipped = 0;
    for (std::size_t i = 0; i < output.size(); ++i) {
        ASSERT_GE(output[i], -32767);
        clipped += output[i] == 32767 || output[i] == -32766;
    }
    EXPECT_GT(clipped, 1000);
    EXPECT_GT(b.dialog->Overflows(), 2000);
    EXPECT_NEAR(b.dialog->LargestOverflow(), 6.02, 0.1);
    char status[96];
    std::snprintf(status, sizeof status, "Overflow %d time(s), max = %f dBOV", b.dialog->Overflows(),
                  b.dialog->LargestOverflow());
    EXPECT_EQ(b.dialog->Field(TSimDialog::kStatus).text, status);
    // The sign never flips: where the input is near its positive peak the output is too.
    const std::size_t t = 512 * 10 + 256 + static_cast<std::size_t>(std::lround(44100 / f / 4)); // a crest
    EXPECT_GT(output[2 * t], 30000);
    EXPECT_LT(output[2 * t + 1], -30000);
}

TEST(SimDialog, AnInputShorterThanABlockGivesSilenceOfItsOwnLength)
{
    struct TCase {
        const char *in, *out;
        std::size_t samples, expected;
    };
    // N zero samples first, then as many as were read, all silenced as the first
    // block; a WAV output completes a half frame.
    const TCase cases[] = {{"short.wav", "short.wav", 100, 512 + 100},
                           {"odd.pcm", "odd.pcm", 101, 512 + 101},
                           {"odd.pcm", "odd.wav", 101, 512 + 102},
                           {"none.wav", "none.wav", 0, 512}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.out);
        MusicBench b(512);
        fs::remove(b.in);
        fs::remove(b.out);
        b.in = TempPath(std::string("in") + c.in);
        b.out = TempPath(c.out);
        b.window.musicInput.initialName = b.in;
        b.window.musicOutput.initialName = b.out;
        std::vector<std::int16_t> loud(c.samples, 20000);
        const std::vector<std::int16_t> output = b.Run(loud);
        EXPECT_EQ(output, std::vector<std::int16_t>(c.expected, 0));
        EXPECT_EQ(b.host.Messages().size(), 1u);
        EXPECT_EQ(b.host.LastMessage()->text, "Ready");
        EXPECT_EQ(b.host.LastMessage()->icon, TMsgIcon::Warning);
    }
}

TEST(SimDialog, RefusalsShowTheirMessagesAndLeaveTheFilesAlone)
{
    MusicBench b(512);
    // "Disable IFFT": no dialog.
    b.general.SetDisableIfft(true);
    EXPECT_FALSE(b.dialog->Setup());
    EXPECT_FALSE(b.dialog->IsOpen());
    ASSERT_NE(b.host.LastMessage(), nullptr);
    EXPECT_EQ(b.host.LastMessage()->text, "Impulse reponse must be enabled for this feature");
    EXPECT_EQ(b.host.LastMessage()->title, "Impulse response disabled");
    EXPECT_EQ(b.host.LastMessage()->icon, TMsgIcon::Warning);
    b.general.SetDisableIfft(false);
    ASSERT_TRUE(b.dialog->Setup());
    EXPECT_EQ(b.host.CommandEnabled(TSimDialog::kCommand), false);

    struct TCase {
        const char* what;
        std::function<void()> arrange;
        std::string message;
        TMsgIcon icon;
    };
    const std::string missing = TempPath("missing.pcm"), folderless = TempPath("no/folder/out.wav");
    const std::vector<std::int16_t> some(4000, 5);
    const TCase cases[] = {
        {"no input", [&] { b.window.musicInput.initialName = missing; },
         "Can not open file " + missing + " for reading", TMsgIcon::None},
        {"no input named", [&] { b.window.musicInput.initialName.clear(); }, "Can not open file  for reading",
         TMsgIcon::None},
        {"output folder missing",
         [&] {
             ASSERT_TRUE(WriteSamples(b.in, some));
             b.window.musicOutput.initialName = folderless;
         },
         "Can not open file " + folderless + " for writing", TMsgIcon::None},
        // The input is looked at before the output is made: nothing is written.
        {"8 bit input",
         [&] {
             TSoundWriter w;
             ASSERT_TRUE(w.Create(b.in, 44100));
             ASSERT_TRUE(w.Finish());
             std::FILE* f = std::fopen(b.in.c_str(), "r+b");
             std::fseek(f, 34, SEEK_SET);
             std::fputc(8, f);
             std::fclose(f);
         },
         b.in + " holds 8 bit stereo PCM at 44100 Hz.\nFilter music reads 16 bit stereo PCM WAV files only.",
         TMsgIcon::Warning},
        {"output is the input",
         [&] {
             ASSERT_TRUE(WriteSamples(b.in, some));
             b.window.musicOutput.initialName = b.in;
         },
         "The output file " + b.in + " is the input file.\nChoose another output file.", TMsgIcon::Warning},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(b.out);
        b.window.musicInput.initialName = b.in;
        b.window.musicOutput.initialName = b.out;
        c.arrange();
        b.dialog->Reload(); // the names were set from outside, as a chooser does
        b.host.ClearMessages();
        b.dialog->Press(TSimDialog::kStartStop);
        EXPECT_EQ(b.dialog->State(), TSimDialog::TState::Idle);
        ASSERT_EQ(b.host.Messages().size(), 1u);
        EXPECT_EQ(b.host.LastMessage()->text, c.message);
        EXPECT_EQ(b.host.LastMessage()->title, "");
        EXPECT_EQ(b.host.LastMessage()->icon, c.icon);
        EXPECT_FALSE(fs::exists(b.out));
        EXPECT_EQ(b.dialog->Field(TSimDialog::kStartStop).text, "Start");
        EXPECT_EQ(b.host.RunDeferred(), 0);
    }
    // The same input survives the refusal whole.
    EXPECT_EQ(ReadSamples(b.in), some);
}

TEST(SimDialog, StopEndsTheRunAtTheNextBlockAndClosingEndsItAtOnceWithAValidWav)
{
    const std::vector<std::int16_t> input = Stereo(512 * 100, {{1000, 1000}}, {{1000, 500}});
    MusicBench b(512);
    ASSERT_TRUE(WriteSamples(b.in, input));
    ASSERT_TRUE(b.dialog->Setup());
    b.dialog->Press(TSimDialog::kStartStop);
    EXPECT_EQ(b.dialog->Field(TSimDialog::kStartStop).text, "Stop");
    // The settings and the chooser buttons are greyed while a run goes.
    EXPECT_FALSE(b.dialog->Field(TSimDialog::kScale).enabled);
    EXPECT_FALSE(b.dialog->Field(TSimDialog::kInBrowse).enabled);
    EXPECT_EQ(b.host.RunDeferred(3), 3);
    b.dialog->Press(TSimDialog::kStartStop);
    EXPECT_EQ(b.dialog->State(), TSimDialog::TState::Stopping);
    EXPECT_EQ(b.dialog->Field(TSimDialog::kStartStop).text, "Start");
    EXPECT_EQ(b.host.RunDeferred(), 1); // the next step ends the run, and posts none
    EXPECT_EQ(b.dialog->State(), TSimDialog::TState::Idle);
    EXPECT_EQ(b.host.LastMessage()->text, "Ready");
    EXPECT_TRUE(b.dialog->Field(TSimDialog::kScale).enabled);
    // 512 silent samples, then three blocks of 512.
    EXPECT_EQ(ReadSamples(b.out).size(), 512u * 4);
    EXPECT_NEAR(b.dialog->Elapsed(), 3 * 256 / 44100.0, 1e-12);
    EXPECT_EQ(b.dialog->Field(TSimDialog::kTime).dbl.Display(), "0.0");

    // Closing the dialog mid-run closes the files at once; the queued step does nothing.
    b.host.ClearMessages();
    b.dialog->Press(TSimDialog::kStartStop);
    EXPECT_EQ(b.host.RunDeferred(2), 2);
    b.dialog->RequestClose();
    EXPECT_FALSE(b.dialog->IsOpen());
    EXPECT_EQ(b.dialog->State(), TSimDialog::TState::Idle);
    EXPECT_EQ(ReadSamples(b.out).size(), 512u * 3);
    EXPECT_EQ(b.host.RunDeferred(), 1);
    EXPECT_TRUE(b.host.Messages().empty());
    EXPECT_EQ(b.host.CommandEnabled(TSimDialog::kCommand), true);

    // A dialog destroyed with a step queued (its project closed) leaves that step idle
    // and its WAV complete.
    ASSERT_TRUE(b.dialog->Setup());
    b.dialog->Press(TSimDialog::kStartStop);
    EXPECT_EQ(b.host.RunDeferred(1), 1);
    b.dialog.reset();
    EXPECT_EQ(b.host.RunDeferred(), 1);
    EXPECT_EQ(ReadSamples(b.out).size(), 512u * 2);
}

TEST(SimDialog, KeepsItsTransformSizeAndABlockAllocatesNothing)
{
    MusicBench b(2048);
    EXPECT_EQ(b.dialog->TransformSize(), 2048);
    ASSERT_TRUE(b.general.SetPoints(128));
    EXPECT_EQ(b.dialog->TransformSize(), 2048);
    b.window.musicHrtf = true;
    b.window.musicScale = 30; // overflows, so the report is written too
    ASSERT_TRUE(WriteSamples(b.in, Stereo(2048 * 20, {{3000, 440}}, {{3000, 660}})));
    ASSERT_TRUE(b.dialog->Setup());
    ASSERT_TRUE(b.dialog->Start());
    EXPECT_EQ(b.host.RunDeferred(1), 1); // the files' buffers are made at their first use
    // The posted step is still queued, so these steps post nothing: a block alone.
    const long allocations = allocation_counter::During([&] {
        for (int i = 0; i < 10; ++i)
            b.dialog->Step();
    });
    EXPECT_EQ(allocations, 0);
    EXPECT_GT(b.dialog->Overflows(), 0);
    b.host.RunDeferred();
    EXPECT_EQ(ReadSamples(b.out).size(), 2048u + 2 * 2048 * 20);

    // File names show as the dialog shows stored names.
    EXPECT_EQ(TSimDialog::ShownName(""), "Not in use");
    const std::string longName(50, 'x');
    EXPECT_EQ(TSimDialog::ShownName(longName + "/music.wav").size(), 43u);
    EXPECT_EQ(b.dialog->Field(TSimDialog::kInName).str.Text(), TSimDialog::ShownName(b.in));
    // A typed name is taken; the shown end of a long one is no new name.
    b.dialog->Type(TSimDialog::kInName, "/tmp/typed.wav");
    b.dialog->FocusField(TSimDialog::kScale);
    EXPECT_EQ(b.window.musicInput.initialName, "/tmp/typed.wav");
}

} // namespace
