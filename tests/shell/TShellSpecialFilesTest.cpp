// Opening a project the way a user does, when the project, its unit file or its
// snapshot file name something that is not a regular file, or a file carries junk
// after its end: the open finishes, reads no more than the format holds, and reports
// what it always reports for a missing file.

#include "box/TBoxEmbryo.h"
#include "box/TBoxReport.h"
#include "box/TClosedBox.h"
#include "core/FMatrix.h"
#include "core/TBinaryStream.h"
#include "driver/TSpkData.h"
#include "measdata/TMeasCurveReader.h"
#include "plot/TSnapshot.h"
#include "room/TRoomSettings.h"
#include "settings/TProgramContext.h"
#include "shell/TMainConfig.h"
#include "shell/TShell.h"
#include "support/ExampleWoofer.h"
#include "support/SpecialFiles.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <complex>
#include <filesystem>

namespace fs = std::filesystem;
using namespace specialfiles;

namespace {

constexpr std::size_t kUnitPathAt = 4 + 2 + 16 + 63;
constexpr std::size_t kSnapshotPathAt = kUnitPathAt + 271;
constexpr std::size_t kJunkBytes = 4u << 20;

class TShellSpecialFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-special-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        context_.SetFolder(dir_.string());
        fifo_ = MakeFifo(dir_);

        TSpkData unit;
        FillExampleWoofer(unit, 0.41e-3);
        ASSERT_TRUE(unit.Save((dir_ / "woofer.unt").string()));
        TClosedBox box(host_, context_);
        ASSERT_TRUE(box.LoadFrontUnitFrom((dir_ / "woofer.unt").string()));
        const std::string path = (dir_ / "valid.box").string();
        ASSERT_TRUE(box.SaveTo(path));
        ASSERT_TRUE(ReadWholeFile(path, project_));
        ASSERT_LT(project_.size(), TBoxEmbryo::kMaxFileBytes);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The valid project with a name written into one of its path fields.
    std::string ProjectNaming(std::size_t at, const std::string& name)
    {
        auto bytes = project_;
        std::fill(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + 271), 0);
        std::copy(name.begin(), name.end(), bytes.begin() + static_cast<long>(at));
        const std::string path = (dir_ / "named.box").string();
        EXPECT_TRUE(SaveFileSafely(path, bytes.data(), bytes.size()));
        return path;
    }

    // Opens path through the shell; false when the open did not come back in time.
    bool Open(TShell& shell, const std::string& path)
    {
        host_.ClearMessages();
        return FinishesWithin(std::chrono::seconds(10), fifo_, [&] { shell.OpenProject(path); });
    }

    std::string StoredSnapshotPath(TShell& shell)
    {
        auto* box = dynamic_cast<TBoxEmbryo*>(shell.Project());
        const std::string again = (dir_ / "again.box").string();
        EXPECT_TRUE(box && box->SaveTo(again));
        std::vector<std::uint8_t> out;
        EXPECT_TRUE(ReadWholeFile(again, out));
        return out.size() > kSnapshotPathAt ? std::string(reinterpret_cast<const char*>(&out[kSnapshotPathAt])) : "";
    }

    fs::path dir_;
    std::string fifo_;
    std::vector<std::uint8_t> project_;
    TProgramContext context_;
    THeadlessHost host_;
};

} // namespace

TEST_F(TShellSpecialFilesTest, UnitNamingAFifoOrADeviceOpensWithTheMissingUnitMessage)
{
    for (const std::string& unit : {fifo_, std::string(kZero), dir_.string()}) {
        SCOPED_TRACE(unit);
        TShell shell(host_, context_);
        ASSERT_TRUE(Open(shell, ProjectNaming(kUnitPathAt, unit)));
        ASSERT_NE(shell.Project(), nullptr);
        ASSERT_NE(host_.LastMessage(), nullptr);
        EXPECT_EQ(host_.LastMessage()->text, "Could not open file : " + unit + "\nCheck if path and filename is correct.");
        EXPECT_EQ(host_.LastMessage()->title, "Speaker unit load");
        auto* box = dynamic_cast<TBoxEmbryo*>(shell.Project());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->Report().Title(), "DRIVER UNIT INCOMPLETE");
        EXPECT_FALSE(box->SplPlot().HasData());
    }
}

TEST_F(TShellSpecialFilesTest, SnapshotNamingAFifoOrADeviceIsClearedLikeAMissingOne)
{
    for (const std::string& snapshot : {fifo_, std::string(kZero), dir_.string()}) {
        SCOPED_TRACE(snapshot);
        TShell shell(host_, context_);
        ASSERT_TRUE(Open(shell, ProjectNaming(kSnapshotPathAt, snapshot)));
        ASSERT_NE(shell.Project(), nullptr);
        EXPECT_TRUE(host_.Messages().empty());
        EXPECT_EQ(StoredSnapshotPath(shell), "");
    }
    // A snapshot file that reads keeps its name; a short one is cleared as well.
    std::ofstream(dir_ / "short.snp") << "x";
    {
        TShell shell(host_, context_);
        ASSERT_TRUE(Open(shell, ProjectNaming(kSnapshotPathAt, "short.snp")));
        EXPECT_EQ(StoredSnapshotPath(shell), "");
    }
    THeadlessHost quiet;
    const TPlotStyles styles;
    ASSERT_TRUE(TSnapshot(quiet, styles, nullptr, {}).SaveFile((dir_ / "here.snp").string(), 410));
    TShell shell(host_, context_);
    ASSERT_TRUE(Open(shell, ProjectNaming(kSnapshotPathAt, "here.snp")));
    EXPECT_EQ(StoredSnapshotPath(shell), "here.snp");
}

TEST_F(TShellSpecialFilesTest, ProjectThatIsAFifoOrADeviceIsNotOpened)
{
    for (const std::string& path : {fifo_, std::string(kZero), dir_.string()}) {
        SCOPED_TRACE(path);
        TShell shell(host_, context_);
        ASSERT_TRUE(Open(shell, path));
        ASSERT_NE(host_.LastMessage(), nullptr);
        EXPECT_EQ(host_.LastMessage()->text,
                  "Could not open project.\nThe filname probably points at\na nonexisting file.\n\n" + path);
        EXPECT_EQ(shell.Project(), nullptr);
    }
}

TEST_F(TShellSpecialFilesTest, JunkAfterTheEndMarkIsNotRead)
{
    // The project and its unit, each followed by megabytes of junk: both load, and the
    // open reads little more than the two files' own lengths.
    auto project = project_;
    project.resize(project.size() + kJunkBytes, 0xA5);
    ASSERT_TRUE(SaveFileSafely((dir_ / "junk.box").string(), project.data(), project.size()));
    std::vector<std::uint8_t> unit;
    ASSERT_TRUE(ReadWholeFile((dir_ / "woofer.unt").string(), unit));
    unit.resize(unit.size() + kJunkBytes, 0x5A);
    ASSERT_TRUE(SaveFileSafely((dir_ / "woofer.unt").string(), unit.data(), unit.size()));

    TShell shell(host_, context_);
    const long long before = BytesReadSoFar();
    ASSERT_TRUE(Open(shell, (dir_ / "junk.box").string()));
    const long long read = BytesReadSoFar() - before;
    ASSERT_NE(shell.Project(), nullptr);
    EXPECT_TRUE(host_.Messages().empty());
    auto* box = dynamic_cast<TBoxEmbryo*>(shell.Project());
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->SplPlot().HasData()) << "the unit loaded and the project calculated";
    if (before >= 0) {
        // The shell checks the file on a trial project before the real open: two reads.
        EXPECT_LT(read, static_cast<long long>(2 * (TBoxEmbryo::kMaxFileBytes + TSpkData::kMaxFileBytes) + (64 << 10)));
    }
}

TEST_F(TShellSpecialFilesTest, ReadLimitsHoldTheLongestFiles)
{
    EXPECT_EQ(TSpkData::kMaxFileBytes, 980u); // 380 bytes and a 600-byte note
    TSpkData unit;
    FillExampleWoofer(unit);
    std::fill(unit.userNote, unit.userNote + TSpkData::kNoteSize - 1, 'n');
    EXPECT_EQ(unit.FileBytes().size(), TSpkData::kMaxFileBytes);
    EXPECT_LT(project_.size() * 4, TBoxEmbryo::kMaxFileBytes);
}

// Every reader of the program, pointed at what is not a regular file: each gives its
// answer for a file that cannot be opened, and none waits or reads without end.
TEST_F(TShellSpecialFilesTest, EveryReaderRefusesWhatIsNotARegularFile)
{
    std::array<double, 3> frequencies{100.0, 200.0, 400.0};
    TMeasGrid grid;
    grid.frequencies = frequencies.data();
    grid.count = static_cast<int>(frequencies.size());
    for (const std::string& path : {fifo_, std::string(kZero), dir_.string()}) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(FinishesWithin(std::chrono::seconds(5), fifo_, [&] {
            TSpkData unit;
            EXPECT_FALSE(unit.Load(path));
            EXPECT_EQ(unit.LastLoadError(), TSpkLoadError::CannotOpen);

            TMeasSetup setup;
            EXPECT_FALSE(setup.LoadFile(path));

            TRoomSettings room;
            room.W = 7.0;
            room.LoadPreferences(path);
            EXPECT_EQ(room.W, TRoomSettings().W);

            TMainConfig config = TMainConfig::Read(path);
            EXPECT_FALSE(config.rect.has_value());
            EXPECT_TRUE(config.showUnitHint);

            std::array<std::complex<double>, 3> response{};
            EXPECT_EQ(ReadMeasCurveFile(path, grid, TMeasKind::Spl, response.data()), TMeasReadResult::NotOpened);

            FMatrix matrix;
            EXPECT_FALSE(matrix.read(path));
        }));
    }
}
