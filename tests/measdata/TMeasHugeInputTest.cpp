// Input no measurement program writes: empty and binary files, a 100 MB file of
// digits, a 10000-character line. Reading ends, with bounded memory, and a file that
// holds data around such lines still reads.
#include "MeasTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <sys/resource.h>

using namespace meastest;

namespace {

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(MeasHugeInput, EmptyAndMissingFiles)
{
    TempDir dir;
    Curve c{};
    EXPECT_EQ(ReadMeasCurveFile(dir.Write("empty.frd", ""), OnFilterGrid(), TMeasKind::Spl, c.data()),
              TMeasReadResult::NotLoaded);
    EXPECT_EQ(ReadMeasCurveFile(dir.File("missing.frd"), OnFilterGrid(), TMeasKind::Spl, c.data()),
              TMeasReadResult::NotOpened);
    // A folder opens on Linux but cannot be read as a file.
    EXPECT_NE(ReadMeasCurveFile(dir.Path(), OnFilterGrid(), TMeasKind::Spl, c.data()), TMeasReadResult::Loaded);
}

TEST(MeasHugeInput, BinaryFiles)
{
    TempDir dir;
    std::string doubles;
    for (int i = 0; i < 100000; ++i) {
        const double v = i * 0.5;
        doubles.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    TMeasReadReport report;
    Curve c{};
    EXPECT_EQ(ReadMeasCurveFile(dir.Write("doubles.frd", doubles), OnFilterGrid(), TMeasKind::Spl, c.data(), &report),
              TMeasReadResult::NotLoaded);
    EXPECT_GT(report.binaryLines, 0);

    std::string noise(1 << 20, '\0');
    std::uint32_t state = 12345;
    for (char& ch : noise) {
        state = state * 1664525u + 1013904223u;
        ch = static_cast<char>(state >> 24);
    }
    if (ReadMeasCurveFile(dir.Write("noise.frd", noise), OnFilterGrid(), TMeasKind::Spl, c.data()) ==
        TMeasReadResult::Loaded) {
        for (const auto& z : c)
            ASSERT_TRUE(std::isfinite(z.real()) && std::isfinite(z.imag()));
    }
}

TEST(MeasHugeInput, HundredMegabytesOfDigits)
{
    TempDir dir;
    const std::string path = dir.File("digits.frd");
    {
        std::string block(1 << 20, '0');
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>('0' + i % 10);
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 100; ++i)
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        ASSERT_TRUE(out.good());
    }
    const long before = PeakRssKb();
    const auto start = std::chrono::steady_clock::now();
    TMeasReadReport report;
    Curve c{};
    EXPECT_EQ(ReadMeasCurveFile(path, OnFilterGrid(), TMeasKind::Spl, c.data(), &report), TMeasReadResult::NotLoaded);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(report.lines, 1);
    EXPECT_EQ(report.longLines, 1);
    EXPECT_LT(seconds, 5.0);
    EXPECT_LT(PeakRssKb() - before, 16 * 1024) << "the reader held the file in memory";
}

TEST(MeasHugeInput, ManyLinesOfDigitsStayBounded)
{
    // 8 MB of number-only lines: none is a first data line, so every line is read.
    TempDir dir;
    std::string lines;
    for (int i = 0; i < 800000; ++i)
        lines += "123456789\n";
    TMeasReadReport report;
    Curve c{};
    EXPECT_EQ(ReadMeasCurveFile(dir.Write("lines.frd", lines), OnFilterGrid(), TMeasKind::Spl, c.data(), &report),
              TMeasReadResult::NotLoaded);
    EXPECT_EQ(report.singleNumberHeaderLines, 800000);
}

TEST(MeasHugeInput, TenThousandCharacterLines)
{
    const std::string digits(10000, '9');
    const std::string data = "100 80 10\n1000 90 -20\n5000 85 40\n";
    Curve plain{};
    ASSERT_EQ(ReadMeasCurveText(data, OnFilterGrid(), TMeasKind::Spl, plain.data()), TMeasReadResult::Loaded);
    for (const std::string& text :
         {digits + "\n" + data, "* " + digits + "\r\n" + data, "100 80 10\n" + digits + "\n1000 90 -20\n5000 85 40\n",
          "100 80 10\n1000 90 -20 " + digits + "\n1000 90 -20\n5000 85 40\n"}) {
        TMeasReadReport report;
        Curve c{};
        ASSERT_EQ(ReadMeasCurveText(text, OnFilterGrid(), TMeasKind::Spl, c.data(), &report), TMeasReadResult::Loaded);
        EXPECT_EQ(report.longLines, 1);
        for (std::size_t i = 0; i < c.size(); ++i)
            ASSERT_EQ(c[i], plain[i]);
    }
    Curve c{};
    EXPECT_EQ(ReadMeasCurveText(digits, OnFilterGrid(), TMeasKind::Spl, c.data()), TMeasReadResult::NotLoaded);
}

TEST(MeasHugeInput, AbsurdLevelsStayFinite)
{
    Curve c{};
    ASSERT_EQ(ReadMeasCurveText("100 1e300 90\n200 -1e300 -90\n", OnFilterGrid(), TMeasKind::Spl, c.data()),
              TMeasReadResult::Loaded);
    for (const auto& z : c)
        ASSERT_TRUE(std::isfinite(z.real()) && std::isfinite(z.imag()));
}

TEST(MeasHugeInput, UnorderedFilesKeepABoundedNumberOfPoints)
{
    std::string text = "20000 80 0\n";
    for (int i = 0; i < 260000; ++i)
        text += "100 80 0\n";
    TMeasReadReport report;
    Curve c{};
    EXPECT_EQ(ReadMeasCurveText(text, OnFilterGrid(), TMeasKind::Spl, c.data(), &report), TMeasReadResult::Loaded);
    EXPECT_TRUE(report.sorted);
    EXPECT_TRUE(report.pointLimitReached);
}

} // namespace
