// The unit file: byte layout, round trip, every kind of bad file, program folder names.
#include "TSpkTestSupport.h"

#include "driver/TSpeakerObject.h"
#include "driver/TSpkData.h"
#include "driver/TSpkMessages.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace spktest;

namespace {

std::int16_t Int16At(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::int16_t>(b.at(at) | (b.at(at + 1) << 8));
}

double DoubleAt(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | b.at(at + i);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void PutInt16(std::vector<std::uint8_t>& b, std::size_t at, std::int16_t v)
{
    b.at(at) = static_cast<std::uint8_t>(v & 0xff);
    b.at(at + 1) = static_cast<std::uint8_t>((v >> 8) & 0xff);
}

// A file whose note field holds `note` as N bytes exactly (no terminator added).
std::vector<std::uint8_t> FileWithNoteField(const std::vector<std::uint8_t>& note, std::int16_t n)
{
    TSpkData u = FilledUnit();
    u.SetUserNote("");
    std::vector<std::uint8_t> b = u.FileBytes(); // N = 1: one NUL at 376
    b.erase(b.begin() + 376);
    b.insert(b.begin() + 376, note.begin(), note.end());
    PutInt16(b, 374, n);
    return b;
}

bool TextsTerminated(const TSpkData& u)
{
    return strnlen(u.manufacturer, sizeof u.manufacturer) < sizeof u.manufacturer &&
           strnlen(u.model, sizeof u.model) < sizeof u.model &&
           strnlen(u.userNote, sizeof u.userNote) < sizeof u.userNote &&
           strnlen(u.fileName, sizeof u.fileName) < sizeof u.fileName;
}

class TSpkFileTest : public ::testing::Test {
protected:
    TScratchFolder dir_;
};

} // namespace

TEST_F(TSpkFileTest, SizeIs380PlusNoteLengthWithTerminator)
{
    struct Case {
        std::string note;
        std::size_t size;
    };
    for (const Case& c : {Case{"", 381}, Case{"abc", 384}, Case{std::string(599, 'n'), 980}}) {
        TSpkData u = FilledUnit();
        u.SetUserNote(c.note);
        std::string path = dir_.File("size.unt");
        ASSERT_TRUE(u.Save(path));
        std::vector<std::uint8_t> b = ReadBytes(path);
        ASSERT_EQ(b.size(), c.size) << "note of " << c.note.size();
        EXPECT_EQ(Int16At(b, 374), static_cast<std::int16_t>(c.note.size() + 1));
        EXPECT_EQ(b[376 + c.note.size()], 0);
    }
    // A note longer than the field takes is cut to 599 characters.
    TSpkData u;
    u.SetUserNote(std::string(700, 'x'));
    EXPECT_EQ(std::strlen(u.userNote), 599u);
    EXPECT_EQ(u.FileBytes().size(), 980u);
}

TEST_F(TSpkFileTest, BytesSitAtTheirOffsets)
{
    TSpkData u = FilledUnit();
    u.SetUserNote("");
    std::vector<std::uint8_t> b = u.FileBytes();
    ASSERT_EQ(b.size(), 381u);
    EXPECT_EQ(Int16At(b, 0), 100);
    for (std::size_t i = 2; i < 18; ++i)
        EXPECT_EQ(b[i], 0) << "reserved byte " << i;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[18])), "Example");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[118])), "8 inch woofer");
    EXPECT_EQ(b[117], 0);
    EXPECT_EQ(Int16At(b, 218), 3);
    for (int i = 0; i < kSpkParamCount; ++i)
        EXPECT_EQ(DoubleAt(b, 220 + 8 * i), u.Param(static_cast<TSpkParam>(i))) << "parameter " << i;
    EXPECT_EQ(DoubleAt(b, 220), u.Sd);
    EXPECT_EQ(DoubleAt(b, 220 + 8 * 18), u.Le);
    EXPECT_EQ(Int16At(b, 372), 1); // crosscalc
    EXPECT_EQ(Int16At(b, 374), 1); // N
    EXPECT_EQ(b[376], 0);
    EXPECT_EQ(Int16At(b, 377), 1); // double voice coil
    EXPECT_EQ(Int16At(b, 379), 12345);
}

TEST_F(TSpkFileTest, RoundTripKeepsEverythingStored)
{
    TSpkData saved = FilledUnit();
    saved.editorX = 40;
    saved.editorY = 50;
    std::string path = dir_.File("round.unt");
    ASSERT_TRUE(saved.Save(path));
    EXPECT_STREQ(saved.fileName, "round.unt");

    TSpkData loaded;
    loaded.Bl2 = 99;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.LastLoadError(), TSpkLoadError::None);
    for (int i = 0; i < kSpkParamCount; ++i)
        EXPECT_EQ(loaded.Param(static_cast<TSpkParam>(i)), saved.Param(static_cast<TSpkParam>(i))) << i;
    EXPECT_EQ(loaded.Bl2, saved.Bl * saved.Bl);
    EXPECT_EQ(loaded.Sd2, saved.Sd * saved.Sd);
    EXPECT_EQ(loaded.crossCalc, 1);
    EXPECT_EQ(loaded.doubleVoiceCoil, 1);
    EXPECT_EQ(loaded.speakerType, 3);
    EXPECT_STREQ(loaded.manufacturer, "Example");
    EXPECT_STREQ(loaded.model, "8 inch woofer");
    EXPECT_STREQ(loaded.userNote, "first line\r\nsecond line");
    EXPECT_STREQ(loaded.fileName, "round.unt");
    // The editor position belongs to the record, not to the file.
    EXPECT_EQ(loaded.editorX, 0);
    EXPECT_EQ(loaded.editorY, 0);
    // Saved again, the file is the same byte for byte.
    EXPECT_EQ(loaded.FileBytes(), ReadBytes(path));
}

TEST_F(TSpkFileTest, ClearEmptiesAllButTheEditorPosition)
{
    TSpkData u = FilledUnit();
    u.SetFileNameFromPath("/x/y/z.unt");
    u.editorX = 7;
    u.Clear();
    TSpkData empty;
    for (int i = 0; i < kSpkParamCount; ++i)
        EXPECT_EQ(u.Param(static_cast<TSpkParam>(i)), 0.0);
    EXPECT_EQ(u.Bl2, 0.0);
    EXPECT_EQ(u.Sd2, 0.0);
    EXPECT_EQ(u.crossCalc, 0);
    EXPECT_EQ(u.doubleVoiceCoil, 0);
    EXPECT_EQ(u.speakerType, 0);
    EXPECT_STREQ(u.manufacturer, "");
    EXPECT_STREQ(u.fileName, "");
    EXPECT_STREQ(u.userNote, "");
    EXPECT_EQ(u.editorX, 7);
    EXPECT_EQ(u.FileBytes(), empty.FileBytes());
}

TEST_F(TSpkFileTest, BadFilesFailWithTheEditorMessageAndAnEmptyUnit)
{
    const std::vector<std::uint8_t> good = FilledUnit().FileBytes();
    const std::size_t end = good.size() - 2;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        TSpkLoadError error;
    };
    auto patched = [&](std::size_t at, std::int16_t v) {
        std::vector<std::uint8_t> b = good;
        PutInt16(b, at, v);
        return b;
    };
    std::vector<Case> cases = {
        {"version 99", patched(0, 99), TSpkLoadError::WrongVersion},
        {"version 410", patched(0, 410), TSpkLoadError::WrongVersion},
        {"version 0", patched(0, 0), TSpkLoadError::WrongVersion},
        {"end mark 0", patched(end, 0), TSpkLoadError::WrongEndMark},
        {"end mark 12346", patched(end, 12346), TSpkLoadError::WrongEndMark},
        {"note length 601", FileWithNoteField(std::vector<std::uint8_t>(601, 'x'), 601), TSpkLoadError::BadNoteLength},
        {"note length 32767", patched(374, 32767), TSpkLoadError::BadNoteLength},
        {"note length -1", patched(374, -1), TSpkLoadError::BadNoteLength},
        {"note length one short", patched(374, static_cast<std::int16_t>(Int16At(good, 374) - 1)),
         TSpkLoadError::WrongEndMark},
        {"one byte more than the note length says", [&] {
             std::vector<std::uint8_t> b = good;
             b.insert(b.begin() + 376, 'x');
             return b;
         }(), TSpkLoadError::WrongEndMark},
        {"empty file", {}, TSpkLoadError::Truncated},
        {"Vas not a number", [&] {
             std::vector<std::uint8_t> b = good;
             std::memset(&b[220 + 8 * 2], 0xff, 8); // a NaN
             return b;
         }(), TSpkLoadError::BadValue},
        {"Le infinite", [&] {
             std::vector<std::uint8_t> b = good;
             const std::uint8_t inf[8] = {0, 0, 0, 0, 0, 0, 0xf0, 0x7f};
             std::memcpy(&b[220 + 8 * 18], inf, 8);
             return b;
         }(), TSpkLoadError::BadValue},
        {"text file", std::vector<std::uint8_t>{'h', 'e', 'l', 'l', 'o', '\n'}, TSpkLoadError::WrongVersion},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = dir_.File("bad.unt");
        WriteBytes(path, c.bytes);
        TSpkData u = FilledUnit();
        EXPECT_FALSE(u.Load(path));
        EXPECT_EQ(u.LastLoadError(), c.error);
        EXPECT_TRUE(TextsTerminated(u));
        for (int i = 0; i < kSpkParamCount; ++i)
            EXPECT_TRUE(std::isfinite(u.Param(static_cast<TSpkParam>(i))));
        // The file was opened, so its name is taken even though the read failed.
        EXPECT_STREQ(u.fileName, "bad.unt");

        THeadlessHost host;
        TSpkData editorUnit = FilledUnit();
        EXPECT_FALSE(LoadUnitInEditor(editorUnit, path, host));
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].text, "Could not open file.\nCheck path and filename.");
        EXPECT_EQ(host.Messages()[0].title, "File load");
        EXPECT_EQ(editorUnit.FileBytes(), TSpkData().FileBytes());
    }
}

TEST_F(TSpkFileTest, EveryTruncationFails)
{
    std::vector<std::vector<std::uint8_t>> files = {FilledUnit().FileBytes()};
    // Text fields without a single NUL: the record still ends up with terminated texts.
    std::vector<std::uint8_t> full = FileWithNoteField(std::vector<std::uint8_t>(600, 'N'), 600);
    std::memset(&full[18], 'M', 200);
    files.push_back(full);
    int which = 0;
    for (const auto& file : files) {
        ++which;
        TSpkData whole;
        ASSERT_TRUE(whole.ReadFileBytes(file));
        EXPECT_TRUE(TextsTerminated(whole));
        for (std::size_t length = 0; length < file.size(); ++length) {
            SCOPED_TRACE(length);
            // A file of its own for each length: rewriting one file is slow on some disks.
            std::string path = dir_.File("short-" + std::to_string(which) + "-" + std::to_string(length) + ".unt");
            WriteBytes(path, std::vector<std::uint8_t>(file.begin(), file.begin() + length));
            TSpkData u = FilledUnit();
            ASSERT_FALSE(u.Load(path));
            EXPECT_EQ(u.LastLoadError(), TSpkLoadError::Truncated);
            EXPECT_TRUE(TextsTerminated(u));

            THeadlessHost host;
            EXPECT_FALSE(LoadUnitInEditor(u, path, host));
            ASSERT_EQ(host.Messages().size(), 1u);
            EXPECT_EQ(host.Messages()[0].text, TSpkMessages::kEditorLoadFailed);
        }
    }
}

TEST_F(TSpkFileTest, FullTextFieldsComeOutTerminated)
{
    std::vector<std::uint8_t> b = FileWithNoteField(std::vector<std::uint8_t>(600, 'N'), 600);
    std::memset(&b[18], 'M', 100);
    std::memset(&b[118], 'D', 100);
    TSpkData u;
    ASSERT_TRUE(u.ReadFileBytes(b));
    EXPECT_EQ(std::string(u.manufacturer), std::string(99, 'M'));
    EXPECT_EQ(std::string(u.model), std::string(99, 'D'));
    EXPECT_EQ(std::string(u.userNote), std::string(599, 'N'));
    // Written again, it is a regular file with a terminated 599-character note.
    EXPECT_EQ(u.FileBytes().size(), 980u);
    // A note length of 0 (no byte at all) reads as an empty note.
    TSpkData empty;
    ASSERT_TRUE(empty.ReadFileBytes(FileWithNoteField({}, 0)));
    EXPECT_STREQ(empty.userNote, "");
}

TEST_F(TSpkFileTest, UnreadableAndUnwritablePaths)
{
    TSpkData u = FilledUnit();
    u.SetFileNameFromPath("before.unt");
    EXPECT_FALSE(u.Load(dir_.File("missing.unt")));
    EXPECT_EQ(u.LastLoadError(), TSpkLoadError::CannotOpen);
    EXPECT_STREQ(u.fileName, "before.unt"); // never opened, so the name stays
    EXPECT_FALSE(u.Load(dir_.Path().string())); // a folder

    for (bool saveAs : {false, true}) {
        THeadlessHost host;
        TSpkData before = u;
        EXPECT_FALSE(SaveUnitFromEditor(u, dir_.File("no/such/folder/x.unt"), saveAs, host));
        ASSERT_EQ(host.Messages().size(), 1u);
        EXPECT_EQ(host.Messages()[0].text, "Could not open file.\nCheck if device is ready\nor if the disk is full.");
        EXPECT_EQ(host.Messages()[0].title, saveAs ? "File save as" : "File save");
        EXPECT_EQ(u.FileBytes(), before.FileBytes());
        EXPECT_STREQ(u.fileName, "before.unt");
    }
}

TEST_F(TSpkFileTest, ProgramFolderNames)
{
    TScratchFolder outside;
    const TProgramContext context(dir_.Path().string());
    const TProgramFolder& folder = context.Folder();
    std::filesystem::create_directories(dir_.Path() / "units");

    // A project's unit takes a relative name in the program folder, also with "\"
    // separators.
    TSpeakerObject u(context);
    static_cast<TSpkData&>(u) = FilledUnit();
    ASSERT_TRUE(u.Save("units\\inside.unt"));
    EXPECT_TRUE(std::filesystem::exists(dir_.Path() / "units" / "inside.unt"));
    EXPECT_STREQ(u.fileName, "inside.unt");
    TSpeakerObject in(context);
    ASSERT_TRUE(in.Load("units/inside.unt"));
    EXPECT_STREQ(in.fileName, "inside.unt");

    // A full path is used as it is.
    ASSERT_TRUE(u.Save(outside.File("outside.unt")));
    TSpeakerObject out(context);
    ASSERT_TRUE(out.Load(outside.File("outside.unt")));
    EXPECT_STREQ(out.fileName, "outside.unt");

    // What a project stores: inside the folder relative, outside the full path.
    std::string chosenInside = (dir_.Path() / "units" / "inside.unt").string();
    EXPECT_EQ(folder.Strip(chosenInside), "units/inside.unt");
    EXPECT_EQ(folder.Strip(outside.File("outside.unt")), outside.File("outside.unt"));
    TSpeakerObject again(context);
    EXPECT_TRUE(again.Load(folder.Strip(chosenInside)));
    EXPECT_TRUE(again.Load(folder.Strip(outside.File("outside.unt"))));

    // A unit of no project (the command line's) reads a full path as it is, and the
    // name a project stores is its own business.
    TSpkData plain;
    EXPECT_TRUE(plain.Load(folder.Resolve("units/inside.unt")));
    EXPECT_STREQ(plain.fileName, "inside.unt");
}

TEST_F(TSpkFileTest, SaveOntoAFolderFailsAndLeavesNoTemporaryFile)
{
    TSpkData u = FilledUnit();
    ASSERT_TRUE(u.Save(dir_.File("keep.unt")));
    // A folder in the way of the target makes the rename fail after everything was written.
    std::filesystem::create_directory(dir_.Path() / "dir.unt");
    EXPECT_FALSE(u.Save(dir_.File("dir.unt")));
    EXPECT_TRUE(std::filesystem::is_directory(dir_.Path() / "dir.unt"));
    EXPECT_STREQ(u.fileName, "keep.unt");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);
}
