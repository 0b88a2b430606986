// The measured curve object of a filter network: choosing, reading, the open error and
// the program folder rule for the stored name.
#include "MeasTestSupport.h"

#include "measdata/TMeasData.h"
#include "measdata/TMeasDataOwner.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

using namespace meastest;

namespace {

class FakeNetwork : public TMeasDataOwner {
public:
    // The program folder is the working folder unless a test names one.
    explicit FakeNetwork(const std::string& folder = "./") : context(folder) {}
    THost& Host() override { return host; }
    const TProgramContext& Context() const override { return context; }
    void MarkChanged() override { ++changed; }
    void Recalculate() override { ++recalculated; }

    TProgramContext context;
    THeadlessHost host;
    int changed = 0;
    int recalculated = 0;
};

TEST(MeasData, StartsEmptyWithTheDialogOfItsKind)
{
    FakeNetwork net;
    TMeasData spl(net, TMeasKind::Spl);
    TMeasData z(net, TMeasKind::Impedance);
    EXPECT_FALSE(spl.Loaded());
    EXPECT_TRUE(spl.FileName().empty());
    ASSERT_EQ(spl.Response().size(), 500);
    for (const auto& v : spl.Response())
        EXPECT_EQ(v, std::complex<double>());
    EXPECT_EQ(spl.FileDialog().filter,
              "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|CLIO (*.txt)|*.txt|MLLSA (*.fmp)|*.fmp|All (*.*)|*.*");
    EXPECT_EQ(spl.FileDialog().defaultExtension, "frd");
    EXPECT_EQ(z.FileDialog().filter,
              "LAUD impedance (*.zma)|*.zma|LEAP (*.gdt)|*.gdt|CLIO (*.txt)|*.txt|MLLSA (*.fmp)|*.fmp|All (*.*)|*.*");
    EXPECT_EQ(z.FileDialog().defaultExtension, "zma");
}

TEST(MeasData, ImportReadsMarksChangedAndRecalculates)
{
    TempDir dir;
    const std::string path = dir.Write("woofer.zma", "10 6 10\n100 8 -10\n");
    FakeNetwork net;
    TMeasData z(net, TMeasKind::Impedance);
    net.host.QueueFileName(path);
    z.ImportMeasData();
    EXPECT_TRUE(z.Loaded());
    EXPECT_EQ(z.FileName(), path);
    EXPECT_EQ(net.changed, 1);
    EXPECT_EQ(net.recalculated, 1);
    EXPECT_NEAR(std::abs(z.Response()[0]), 6.0, 1e-12);
    EXPECT_NEAR(std::abs(z.Response()[499]), 8.0, 0.01); // held from the last point below 100 Hz
    ASSERT_EQ(net.host.FileRequests().size(), 1u);
    EXPECT_EQ(net.host.FileRequests()[0].defaultExtension, "zma");

    net.host.QueueFileName(std::nullopt); // cancelled
    z.ImportMeasData();
    EXPECT_TRUE(z.Loaded());
    EXPECT_EQ(net.changed, 1);
    EXPECT_EQ(net.host.FileRequests()[1].initialName, path);
}

TEST(MeasData, OpenErrorKeepsTheResponse)
{
    TempDir dir;
    FakeNetwork net;
    TMeasData spl(net, TMeasKind::Spl);
    spl.SetFileName(dir.Write("a.frd", "100 20 0\n"));
    spl.ReadMeasFile();
    ASSERT_TRUE(spl.Loaded());
    const CVector before = spl.Response();

    const std::string missing = dir.File("gone.frd");
    spl.SetFileName(missing);
    spl.ReadMeasFile();
    EXPECT_FALSE(spl.Loaded());
    EXPECT_EQ(spl.Response(), before);
    ASSERT_NE(net.host.LastMessage(), nullptr);
    EXPECT_EQ(net.host.LastMessage()->text,
              "Could not open file : " + missing + "\nCheck if path and filename is correct.");
    EXPECT_EQ(net.host.LastMessage()->title, "Measured data");
    EXPECT_EQ(net.host.LastMessage()->icon, TMsgIcon::Warning);

    // A file that opens but holds no data: no message, not loaded, response kept.
    net.host.ClearMessages();
    spl.SetFileName(dir.Write("header.frd", "* nothing here\n"));
    spl.ReadMeasFile();
    EXPECT_FALSE(spl.Loaded());
    EXPECT_EQ(spl.Response(), before);
    EXPECT_TRUE(net.host.Messages().empty());
}

TEST(MeasData, EmptyNameReadsNothingAndSaysNothing)
{
    FakeNetwork net;
    TMeasData spl(net, TMeasKind::Spl);
    spl.ReadMeasFile();
    EXPECT_FALSE(spl.Loaded());
    EXPECT_TRUE(net.host.Messages().empty());
}

TEST(MeasData, NamesInsideTheProgramFolderAreStoredRelative)
{
    TempDir dir;
    dir.Write("tweeter.frd", "1000 90 0\n");
    FakeNetwork net(dir.Path());
    TMeasData spl(net, TMeasKind::Spl);
    std::string chosen = dir.Path() + "/tweeter.frd";
    net.host.QueueFileName(chosen);
    spl.ImportMeasData();
    EXPECT_EQ(spl.FileName(), "tweeter.frd");
    EXPECT_TRUE(spl.Loaded());

    // A project stores the relative name and reads it back through the folder.
    TMeasData again(net, TMeasKind::Spl);
    again.SetFileName("tweeter.frd");
    again.ReadMeasFile();
    EXPECT_TRUE(again.Loaded());
    EXPECT_EQ(again.Response(), spl.Response());
}

TEST(MeasData, ClearForgetsTheFileButKeepsTheValues)
{
    TempDir dir;
    FakeNetwork net;
    TMeasData spl(net, TMeasKind::Spl);
    spl.SetFileName(dir.Write("a.frd", "100 20 0\n"));
    spl.ReadMeasFile();
    const CVector before = spl.Response();
    spl.ClearMeasData();
    EXPECT_FALSE(spl.Loaded());
    EXPECT_TRUE(spl.FileName().empty());
    EXPECT_EQ(spl.Response(), before);
    spl.ReadMeasFile();
    EXPECT_TRUE(net.host.Messages().empty());
}

} // namespace
