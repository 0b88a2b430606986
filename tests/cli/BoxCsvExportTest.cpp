// The box project's export command as the desktop runs it: the chooser offers CSV for
// levels and impedances, and a name ending in .csv gets the CSV layout with the
// project's own curve values.

#include "support/CliRunner.h"

#include "box/TClosedBox.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <charconv>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::vector<double> Cells(const std::string& line)
{
    std::vector<double> out;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');) {
        double v = 0;
        auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), v);
        EXPECT_TRUE(ec == std::errc() && end == cell.data() + cell.size()) << line;
        out.push_back(v);
    }
    return out;
}

class BoxCsvExportTest : public TScratchFolderTest {};

} // namespace

TEST_F(BoxCsvExportTest, ChooserOffersCsvAndTheNameDecides)
{
    TProgramContext context(dir_.string());
    THeadlessHost host;
    TClosedBox box(host, context);
    box.RestoreStartWindows();
    ASSERT_TRUE(box.LoadFrontUnitFrom(std::string(TONVEK_SOURCE_DIR) + "/examples/woofer-6in.unt"));
    box.Calculate(0);
    ASSERT_GT(box.PointCount(), 1);

    struct Case {
        TBoxExport kind;
        const char* file;
        const char* header;
        const double* y;
        const double* phase;
    };
    const Case cases[] = {
        {TBoxExport::Spl, "spl.csv", "Frequency (Hz),SPL (dB),Phase (deg)", box.splTotal.data(), box.splPhase.data()},
        {TBoxExport::Impedance, "z.CSV", "Frequency (Hz),Impedance (ohm),Phase (deg)", box.FrontDriver().impedanceMagnitude.data(),
         box.impedancePhase.data()},
        {TBoxExport::GroupDelay, "gd.csv", "Frequency (Hz),Group delay (ms)", box.groupDelay.data(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        host.QueueFileName(File(c.file));
        ASSERT_TRUE(box.Export(c.kind));
        EXPECT_NE(host.FileRequests().back().filter.find("|CSV files (*.csv)|*.csv|"), std::string::npos);
        const std::vector<std::string> lines = Lines(ReadTextFile(File(c.file)));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(box.PointCount()) + 1);
        EXPECT_EQ(lines[0], c.header);
        for (int i = 0; i < box.PointCount(); ++i) {
            const std::vector<double> cells = Cells(lines[static_cast<std::size_t>(i) + 1]);
            ASSERT_EQ(cells.size(), c.phase ? 3u : 2u);
            EXPECT_EQ(cells[0], box.Grid().Frequency(i));
            EXPECT_EQ(cells[1], c.y[i]);
            if (c.phase) {
                EXPECT_EQ(cells[2], c.phase[i]);
            }
        }
    }
    EXPECT_EQ(host.Messages().size(), 0u);
}
