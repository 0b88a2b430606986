// Schematic windows in real MDI children: the scroll bars follow the page and move the
// drawing, and the page is drawn on a white window with the ink inside the page. With
// TONVEK_LOOK_DIR set, pictures of the examples' schematics at the default window size
// and maximised are written there to look at.

#include "app/QtHost.h"
#include "app/TMainWindow.h"
#include "app/TModelSubWindow.h"
#include "app/TModelView.h"
#include "app/TPlotRender.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Pump()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Bounding box of the dark pixels.
QRect Ink(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(SchematicView, ScrollBarsFollowThePageAndMoveTheDrawing)
{
    TProgramContext context(TONVEK_BIN_DIR);
    TMainWindow window;
    QtHost host(window, context.Folder());
    window.show();
    TXover project(host, context, 1);
    TDrawingWin& schematic = *project.Schematic();
    TModelSubWindow* sub = host.SubWindowOf(schematic);
    ASSERT_NE(sub, nullptr);
    host.ShowView(schematic);
    sub->showNormal();
    sub->View()->resize(600, 400);
    Pump();
    auto bars = sub->View()->findChildren<QScrollBar*>();
    ASSERT_EQ(bars.size(), 2);
    QScrollBar* vertical = bars[0]->orientation() == Qt::Vertical ? bars[0] : bars[1];
    QScrollBar* horizontal = vertical == bars[0] ? bars[1] : bars[0];
    ASSERT_TRUE(vertical->isVisible());
    ASSERT_TRUE(horizontal->isVisible());
    const QSize client = sub->View()->ClientSize();
    EXPECT_EQ(vertical->maximum(), schematic.ScrollRangeY(client.height()));
    EXPECT_EQ(horizontal->maximum(), schematic.ScrollRangeX(client.width()));
    vertical->setValue(30);
    Pump();
    EXPECT_EQ(schematic.ScrollY(), 30);

    // A client larger than the page needs no bars.
    sub->View()->resize(900, 1200);
    Pump();
    EXPECT_FALSE(vertical->isVisible());
    EXPECT_FALSE(horizontal->isVisible());
}

TEST(SchematicView, ExamplesDrawInsideTheirPages)
{
    TProgramContext context(TONVEK_BIN_DIR);
    THeadlessHost host;
    const QString look = qEnvironmentVariable("TONVEK_LOOK_DIR");
    for (const char* name : {"simple2-10in-1in", "advanced2-10in-1in", "active2-10in-1in"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(TONVEK_BIN_DIR) + "/examples/" + name + ".flt";
        const int kind = std::string(name).rfind("simple", 0) == 0 ? 0 : 4;
        TXover project(host, context, kind);
        ASSERT_TRUE(project.Load(path));
        std::vector<TSchematicWin*> windows;
        if (project.Schematic())
            windows.push_back(project.Schematic());
        for (int n = 0; project.Advanced() && n < project.Ways(); ++n)
            windows.push_back(&project.SchematicA(n));
        for (TSchematicWin* w : windows) {
            (void)TPlotRender::RenderImage(*w, w->LogicalWidth(), w->LogicalHeight());
            const QImage page = TPlotRender::RenderImage(*w, w->LogicalWidth(), w->LogicalHeight());
            const QRect ink = Ink(page);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_GT(ink.width(), w->LogicalWidth() / 2);
            EXPECT_LT(ink.right(), w->LogicalWidth() - 1);
            EXPECT_LT(ink.bottom(), w->LogicalHeight() - 1);
            if (look.isEmpty())
                continue;
            QDir().mkpath(look);
            const QString stem = look + "/" + name + "_" + QString::fromStdString(w->Title()).replace(' ', '_');
            (void)TPlotRender::RenderImage(*w, w->DefaultWidth(), w->DefaultHeight()).save(stem + "_default.png");
            (void)TPlotRender::RenderImage(*w, 1400, 1000).save(stem + "_maximised.png");
        }
    }
}

} // namespace
