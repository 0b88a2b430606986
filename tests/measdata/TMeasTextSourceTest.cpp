// Line splitting with fixed buffers: line ends, byte order mark, long lines and lines
// that straddle the read buffer.
#include "measdata/TMeasTextSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Lines {
    std::vector<std::string> text;
    std::vector<bool> tooLong;
};

Lines ReadAll(TMeasTextSource& source)
{
    Lines out;
    std::string_view line;
    bool tooLong = false;
    while (source.NextLine(line, tooLong)) {
        out.text.emplace_back(line);
        out.tooLong.push_back(tooLong);
    }
    return out;
}

Lines ReadAll(const std::string& text)
{
    TMeasTextSource source(text);
    return ReadAll(source);
}

TEST(MeasTextSource, LineEnds)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(ReadAll("a\nb\n").text, (V{"a", "b"}));
    EXPECT_EQ(ReadAll("a\r\nb\r\n").text, (V{"a", "b"}));
    EXPECT_EQ(ReadAll("a\rb\r").text, (V{"a", "b"}));
    EXPECT_EQ(ReadAll("a\nb").text, (V{"a", "b"}));
    EXPECT_EQ(ReadAll("a\n\n\r\nb").text, (V{"a", "", "", "b"}));
    EXPECT_EQ(ReadAll("").text, V{});
    EXPECT_EQ(ReadAll("\n").text, V{""});
}

TEST(MeasTextSource, CountsLineEndStyles)
{
    TMeasTextSource source(std::string_view("a\r\nb\rc\nd\r\n"));
    ReadAll(source);
    EXPECT_EQ(source.CrLfLines(), 2);
    EXPECT_EQ(source.CrLines(), 1);
}

TEST(MeasTextSource, DropsByteOrderMarkAtStartOnly)
{
    TMeasTextSource source(std::string_view("\xEF\xBB\xBF" "100 1 2\n\xEF\xBB\xBFx\n"));
    const Lines lines = ReadAll(source);
    ASSERT_EQ(lines.text.size(), 2u);
    EXPECT_EQ(lines.text[0], "100 1 2");
    EXPECT_EQ(lines.text[1], "\xEF\xBB\xBFx");
    EXPECT_TRUE(source.HadByteOrderMark());
}

TEST(MeasTextSource, LongLinesComeBackEmptyAndFlagged)
{
    const std::string longest(TMeasTextSource::kMaxLineLength, '7');
    const std::string tooLong(TMeasTextSource::kMaxLineLength + 1, '7');
    const Lines lines = ReadAll(longest + "\n" + tooLong + "\r\nlast");
    ASSERT_EQ(lines.text.size(), 3u);
    EXPECT_EQ(lines.text[0], longest);
    EXPECT_FALSE(lines.tooLong[0]);
    EXPECT_EQ(lines.text[1], "");
    EXPECT_TRUE(lines.tooLong[1]);
    EXPECT_EQ(lines.text[2], "last");
}

TEST(MeasTextSource, LinesAcrossTheReadBuffer)
{
    // 65536 is the read buffer; put line ends and a CR LF pair on both sides of it.
    for (std::size_t cut : {65534u, 65535u, 65536u, 65537u}) {
        std::string text(cut - 1, 'x');
        text += "\r\n12 34 56\r\n";
        const Lines lines = ReadAll(text);
        ASSERT_EQ(lines.text.size(), 2u) << cut;
        EXPECT_TRUE(lines.tooLong[0]);
        EXPECT_EQ(lines.text[1], "12 34 56") << cut;
    }
    std::string many;
    for (int i = 0; i < 20000; ++i)
        many += std::to_string(i) + " 1 2\n";
    const Lines lines = ReadAll(many);
    ASSERT_EQ(lines.text.size(), 20000u);
    for (int i = 0; i < 20000; i += 997)
        EXPECT_EQ(lines.text[static_cast<std::size_t>(i)], std::to_string(i) + " 1 2");
}

TEST(MeasTextSource, RewindStartsAgain)
{
    TMeasTextSource source(std::string_view("\xEF\xBB\xBF" "a\nb\n"));
    ReadAll(source);
    ASSERT_TRUE(source.Rewind());
    const Lines again = ReadAll(source);
    EXPECT_EQ(again.text, (std::vector<std::string>{"a", "b"}));
}

} // namespace
