// The information window at its default size holds both report columns: nothing is
// painted against its right edge, the second column's last values included.

#include "app/TPlotRender.h"
#include "box/TClosedBox.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

int RightmostInk(const QImage& image)
{
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128)
                return x;
    return -1;
}

TEST(InfoWindowWidth, DefaultSizeShowsTheWholeReport)
{
    // The example stores its unit relative to the program folder of the build.
    TProgramContext context(TONVEK_BIN_DIR);
    THeadlessHost host;
    TClosedBox box(host, context);
    ASSERT_TRUE(box.Load(std::string(TONVEK_BIN_DIR) + "/examples/closed-10in.box"));
    TInfoWin& info = box.InfoWindow();
    ASSERT_FALSE(info.Text().empty());
    // The widest line of the example: the speaker position with its Z value.
    ASSERT_NE(info.Text().find("Z=0.800m"), std::string_view::npos);

    QImage image = TPlotRender::RenderImage(info, info.DefaultWidth(), 1000);
    const int right = RightmostInk(image);
    EXPECT_GT(right, info.DefaultWidth() * 3 / 4) << "the second column's values are drawn";
    EXPECT_LT(right, info.DefaultWidth() - 12) << "text runs into the right edge";
    EXPECT_GT(info.ContentBottom(), 400);
    EXPECT_LT(info.ContentBottom(), 1000);
}

} // namespace
