// Filter music inside a filter project: "Filter &music" opens the dialog on the
// project's impulse response window, and a one-way filter of an ideal driver without
// components gives its input back, delayed by N frames, within 1 % at every N.
#include "filter/TXover.h"
#include "support/SoundSamples.h"
#include "timedomain/TSimDialog.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct TBench {
    TBench() : project(host, context, 3) {}
    THeadlessHost host;
    TProgramContext context;
    TXover project; // one-way advanced: Net 1 drives its ideal 8 ohm driver
};

TEST(XoverMusic, AFlatFilterReturnsTheInputDelayedByNFramesWithinOnePercent)
{
    const std::string in = (fs::temp_directory_path() / "tonvek_flat_in.pcm").string();
    const std::string out = (fs::temp_directory_path() / "tonvek_flat_out.wav").string();
    // Two tones left, one right, and a step of level in the middle. The tones stand
    // well above the lowest bin (86 Hz at N = 512): each block loses its mean with the
    // bin at 0 Hz, which takes a few per cent off a tone only a bin or two above it.
    const std::size_t frames = 44100;
    std::vector<std::int16_t> input(2 * frames);
    for (std::size_t t = 0; t < frames; ++t) {
        const double s = static_cast<double>(t) / 44100;
        const double level = t < frames / 2 ? 1.0 : 0.5;
        input[2 * t] = static_cast<std::int16_t>(std::lround(
            level * (12000 * std::sin(6.283185307179586 * 1000 * s) + 6000 * std::sin(6.283185307179586 * 500 * s))));
        input[2 * t + 1] = static_cast<std::int16_t>(std::lround(15000 * std::sin(6.283185307179586 * 4100 * s)));
    }
    {
        TSoundWriter w;
        ASSERT_TRUE(w.Create(in, 0));
        ASSERT_TRUE(w.Write(input.data(), input.size()));
        ASSERT_TRUE(w.Finish());
    }
    for (const int n : {512, 2048, 8192}) {
        SCOPED_TRACE(n);
        TBench b;
        ASSERT_TRUE(b.context.General().SetPoints(n / 2));
        b.project.NetA(0).noComponents = true;
        b.project.MarkAllDirty();
        b.project.Recalculate();
        b.project.Impulse().musicInput.initialName = in;
        b.project.Impulse().musicOutput.initialName = out;
        ASSERT_TRUE(b.project.HandlesCommand(TSimDialog::kCommand));
        ASSERT_TRUE(b.project.HandleCommand(TSimDialog::kCommand));
        TSimDialog* dialog = b.project.MusicDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->IsOpen());
        EXPECT_EQ(dialog->TransformSize(), n);
        dialog->Press(TSimDialog::kStartStop);
        b.host.RunDeferred();
        ASSERT_EQ(dialog->State(), TSimDialog::TState::Idle);
        EXPECT_EQ(dialog->SampleRate(), 44100); // raw PCM runs at the settings' rate
        const std::vector<std::int16_t> output = ReadSamples(out);
        ASSERT_EQ(output.size(), input.size() + static_cast<std::size_t>(n));
        // Past the silenced first block, and short of the last half block, which never
        // comes out.
        const auto delay = static_cast<std::size_t>(n);
        double worst = 0;
        for (std::size_t t = delay; t + delay / 2 < frames; ++t)
            for (std::size_t ch = 0; ch < 2; ++ch)
                worst = std::max(worst, std::fabs(output[2 * (t + delay) + ch] - input[2 * t + ch]) /
                                            (ch == 0 ? 18000.0 : 15000.0));
        EXPECT_LT(worst, 0.01);
        std::printf("flat filter at N = %d: largest deviation %.3f %% of the amplitude\n", n, 100 * worst);
        RecordProperty("ripple_percent_N" + std::to_string(n), std::to_string(100 * worst));
    }
    fs::remove(in);
    fs::remove(out);
}

TEST(XoverMusic, TheCommandOpensOneDialogAndANewNTakesEffectAtTheNextOpening)
{
    TBench b;
    ASSERT_TRUE(b.project.HandleCommand(TSimDialog::kCommand));
    TSimDialog* first = b.project.MusicDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->title, "Filter music");
    EXPECT_EQ(b.host.CommandEnabled(TSimDialog::kCommand), false);
    ASSERT_TRUE(b.context.General().SetPoints(1024));
    ASSERT_TRUE(b.project.HandleCommand(TSimDialog::kCommand)); // open: raised, N kept
    EXPECT_EQ(b.project.MusicDialog(), first);
    EXPECT_EQ(first->TransformSize(), 512);
    first->RequestClose();
    EXPECT_EQ(b.host.CommandEnabled(TSimDialog::kCommand), true);
    ASSERT_TRUE(b.project.HandleCommand(TSimDialog::kCommand));
    EXPECT_EQ(b.project.MusicDialog()->TransformSize(), 2048);

    // Under "Disable IFFT" the command only says why.
    b.project.MusicDialog()->RequestClose();
    b.context.General().SetDisableIfft(true);
    b.host.ClearMessages();
    ASSERT_TRUE(b.project.HandleCommand(TSimDialog::kCommand));
    EXPECT_FALSE(b.project.MusicDialog()->IsOpen());
    ASSERT_EQ(b.host.Messages().size(), 1u);
    EXPECT_EQ(b.host.LastMessage()->title, "Impulse response disabled");
}

} // namespace
