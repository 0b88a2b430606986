#include "core/TBinaryStream.h"
#include "support/SpecialFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
fs::path TempDir()
{
    fs::path dir = fs::temp_directory_path() / ("tonvek-bin-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}
} // namespace

TEST(TBinaryStream, WritesLittleEndianFields)
{
    TBinaryWriter w;
    w.WriteInt16(12345);
    w.WriteInt32(-2);
    w.WriteDouble(1.0);
    w.WriteText("abc", 6);
    const auto& b = w.Bytes();
    ASSERT_EQ(b.size(), 2u + 4u + 8u + 6u);
    EXPECT_EQ(b[0], 0x39);
    EXPECT_EQ(b[1], 0x30);
    EXPECT_EQ(b[2], 0xFE);
    EXPECT_EQ(b[5], 0xFF);
    EXPECT_EQ(b[13], 0x3F); // 1.0 = 0x3FF0000000000000
    EXPECT_EQ(b[12], 0xF0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[14]), 3), "abc");
    EXPECT_EQ(b[17], 0);
    EXPECT_EQ(b[19], 0);
}

TEST(TBinaryStream, RoundTripsEveryType)
{
    TBinaryWriter w;
    w.WriteInt16(-32768);
    w.WriteInt32(2147483647);
    w.WriteUInt8(200);
    w.WriteDouble(-1.25e-300);
    w.WriteText("Model X", 20);
    TBinaryReader r(w.Bytes());
    std::int16_t a;
    std::int32_t b;
    std::uint8_t c;
    double d;
    std::string t;
    ASSERT_TRUE(r.ReadInt16(a) && r.ReadInt32(b) && r.ReadUInt8(c) && r.ReadDouble(d) && r.ReadText(t, 20));
    EXPECT_EQ(a, -32768);
    EXPECT_EQ(b, 2147483647);
    EXPECT_EQ(c, 200);
    EXPECT_EQ(d, -1.25e-300);
    EXPECT_EQ(t, "Model X");
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(r.Failed());
}

TEST(TBinaryStream, ShortReadFailsAndSticks)
{
    TBinaryReader r(std::vector<std::uint8_t>{1, 2, 3});
    std::int32_t v = 7;
    EXPECT_FALSE(r.ReadInt32(v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(r.Failed());
    std::int16_t s = 5;
    // Even a read that would fit fails once the stream has failed.
    EXPECT_FALSE(r.ReadInt16(s));
    EXPECT_EQ(s, 0);
}

TEST(TBinaryStream, TextFieldIsAlwaysTerminated)
{
    std::vector<std::uint8_t> bytes(10, 'x'); // no NUL anywhere
    TBinaryReader r(bytes);
    char dest[4];
    ASSERT_TRUE(r.ReadText(dest, sizeof dest, 10));
    EXPECT_STREQ(dest, "xxx");
    EXPECT_TRUE(r.AtEnd());

    TBinaryReader r2(bytes);
    std::string s;
    ASSERT_TRUE(r2.ReadText(s, 10));
    EXPECT_EQ(s, "xxxxxxxxxx");

    TBinaryReader r3(std::vector<std::uint8_t>{'a', 'b'});
    char shortDest[8] = "zzzzzzz";
    EXPECT_FALSE(r3.ReadText(shortDest, sizeof shortDest, 5));
    EXPECT_STREQ(shortDest, "");
}

TEST(TBinaryStream, OverlongTextIsCutOnWriting)
{
    TBinaryWriter w;
    w.WriteText("0123456789", 4);
    ASSERT_EQ(w.Size(), 4u);
    EXPECT_EQ(w.Bytes()[3], 0);
    EXPECT_EQ(w.Bytes()[2], '2');
}

TEST(TBinaryStream, SafeSaveReplacesFileAndLeavesNoTemporary)
{
    fs::path dir = TempDir();
    fs::path target = dir / "project.box";
    {
        std::ofstream(target) << "old";
    }
    TBinaryWriter w;
    w.WriteText("new", 4);
    ASSERT_TRUE(w.SaveTo(target.string()));
    TBinaryReader r;
    ASSERT_TRUE(r.Open(target.string()));
    EXPECT_EQ(r.Size(), 4u);
    int files = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 1);
    fs::remove_all(dir);
}

TEST(TBinaryStream, FailedSaveKeepsOldFile)
{
    fs::path dir = TempDir() / "readonly";
    fs::create_directories(dir);
    fs::path target = dir / "unit.unt";
    {
        std::ofstream(target) << "precious";
    }
    TBinaryWriter w;
    w.WriteText("new", 4);
    // A target inside a folder that does not exist cannot be written.
    EXPECT_FALSE(w.SaveTo((dir / "missing" / "unit.unt").string()));
    // A folder that cannot be written to (unless running as root, which ignores modes).
    ::chmod(dir.c_str(), 0555);
    if (::geteuid() != 0) {
        EXPECT_FALSE(w.SaveTo(target.string()));
    }
    ::chmod(dir.c_str(), 0755);
    std::ifstream in(target);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "precious");
    EXPECT_FALSE(w.SaveTo(""));
    fs::remove_all(dir.parent_path());
}

// Every reader goes through these, so a name that points at a FIFO, a device or a
// folder is refused before it can block, stream without end or fail half way.
TEST(TBinaryStream, OnlyRegularFilesAreRead)
{
    fs::path dir = TempDir() / "special";
    fs::create_directories(dir);
    const std::string fifo = specialfiles::MakeFifo(dir);
    const std::string regular = (dir / "regular.bin").string();
    std::ofstream(regular, std::ios::binary) << "abcdef";
    fs::create_symlink(regular, dir / "link.bin");
    struct Row {
        std::string path;
        bool regular;
    };
    for (const Row& row : {Row{fifo, false}, Row{specialfiles::kZero, false}, Row{dir.string(), false},
                           Row{(dir / "missing").string(), false}, Row{"", false}, Row{regular, true},
                           Row{(dir / "link.bin").string(), true}}) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(IsRegularFile(row.path), row.regular);
        EXPECT_TRUE(specialfiles::FinishesWithin(std::chrono::seconds(5), fifo, [&] {
            EXPECT_EQ(CanOpenRegularFile(row.path), row.regular);
            std::vector<std::uint8_t> bytes;
            EXPECT_EQ(ReadFileStart(row.path, bytes, 100), row.regular);
            EXPECT_EQ(bytes.size(), row.regular ? 6u : 0u);
            TBinaryReader reader;
            EXPECT_EQ(reader.Open(row.path), row.regular);
            std::FILE* f = OpenRegularFile(row.path);
            EXPECT_EQ(f != nullptr, row.regular);
            if (f)
                std::fclose(f);
        }));
    }
    fs::remove_all(dir);
}

TEST(TBinaryStream, ReaderTakesNoMoreThanItsLimit)
{
    fs::path dir = TempDir();
    const std::string path = (dir / "long.bin").string();
    {
        std::ofstream out(path, std::ios::binary);
        const std::string block(1 << 20, 'j');
        for (int i = 0; i < 4; ++i)
            out << block;
    }
    for (std::size_t limit : {std::size_t{0}, std::size_t{17}, std::size_t{65536}, std::size_t{100000}}) {
        SCOPED_TRACE(limit);
        const long long before = specialfiles::BytesReadSoFar();
        TBinaryReader reader;
        ASSERT_TRUE(reader.Open(path, limit));
        EXPECT_EQ(reader.Size(), limit);
        if (before >= 0) {
            EXPECT_LT(specialfiles::BytesReadSoFar() - before, static_cast<long long>(limit) + 4096);
        }
    }
    TBinaryReader whole;
    ASSERT_TRUE(whole.Open(path, 8u << 20));
    EXPECT_EQ(whole.Size(), 4u << 20);
    // The default limit holds every file of the program.
    TBinaryReader byDefault;
    ASSERT_TRUE(byDefault.Open(path));
    EXPECT_EQ(byDefault.Size(), kDefaultReadLimit);
    fs::remove(path);
}
