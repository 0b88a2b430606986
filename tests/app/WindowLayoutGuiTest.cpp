// Where windows open and how big they are: dialogs without a place of their own stand
// beside the child windows and never on another dialog's title bar, child windows get
// the client size the plots are laid out for, and plot text keeps to the room the
// plot layout gives it at any window shape.

#include "app/QtCanvas.h"
#include "app/QtHost.h"
#include "app/TMainWindow.h"
#include "app/TModelSubWindow.h"
#include "app/TModelView.h"
#include "core/TProgramFolder.h"
#include "ui/TDialogModel.h"
#include "ui/TWindowModel.h"

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Like the plots, it takes its view down with it.
class Blank : public TWindowModel {
public:
    Blank(THost& host, TRect restored) : host_(host)
    {
        placement.show = TShowState::Normal;
        placement.restored = restored;
    }
    ~Blank() override { host_.DestroyView(*this); }
    std::string Title() const override { return "Blank"; }
    void Paint(TCanvas&) override {}

private:
    THost& host_;
};

class Small : public TDialogModel {
public:
    Small(THost& host, const char* title) : TDialogModel(host, title)
    {
        AddDouble(101, "&Value", "Hz", "%3.1f", 0, 100, 10);
        AddOk();
    }
};

void Pump()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

class WindowLayoutGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(1100, 760);
        window.move(0, 0);
        window.show();
        Pump();
    }
    QRect Frame(const TWindowModel& model) const { return host.SubWindowOf(model)->geometry(); }
    QRect DialogFrame(const TDialogModel& model) const
    {
        for (QWidget* w : host.DialogWidgets())
            if (w->windowTitle() == QString::fromStdString(model.title))
                return w->frameGeometry();
        return {};
    }
    int TitleBar() const { return window.style()->pixelMetric(QStyle::PM_TitleBarHeight); }

    const TProgramFolder folder;
    TMainWindow window;
    QtHost host{window, folder};
};

TEST_F(WindowLayoutGuiTest, PlotWindowsGetTheirDesignedClientSizeAndStaySideBySide)
{
    Blank upper(host, TRect{0, 0, 600, 290}), lower(host, TRect{0, 290, 600, 580}), right(host, TRect{600, 0, 1200, 290});
    for (Blank* b : {&upper, &lower, &right})
        host.CreateView(*b);
    Pump();
    EXPECT_EQ(host.SubWindowOf(upper)->View()->size(), QSize(600, 290));
    int w = 0, h = 0;
    host.ViewClientSize(lower, w, h);
    EXPECT_EQ(QSize(w, h), QSize(600, 290));
    // Neighbours in the model stay neighbours on screen: touching, not overlapping.
    EXPECT_FALSE(Frame(upper).intersects(Frame(lower)));
    EXPECT_FALSE(Frame(upper).intersects(Frame(right)));
    EXPECT_EQ(Frame(lower).top(), Frame(upper).bottom() + 1);
    EXPECT_EQ(Frame(right).left(), Frame(upper).right() + 1);
    // Shown and stored again, the placements are what they were: no drift from one
    // save to the next.
    EXPECT_EQ(lower.placement.restored, (TRect{0, 290, 600, 580}));
    EXPECT_EQ(right.placement.restored, (TRect{600, 0, 1200, 290}));
}

TEST_F(WindowLayoutGuiTest, UnplacedDialogsOpenBesideTheChildWindowsAndCascade)
{
    Blank plot(host, TRect{0, 0, 600, 290});
    host.CreateView(plot);
    Pump();
    Small first(host, "First"), second(host, "Second");
    first.Open();
    Pump();
    second.Open();
    Pump();
    QRect a = DialogFrame(first), b = DialogFrame(second);
    ASSERT_FALSE(a.isEmpty());
    ASSERT_FALSE(b.isEmpty());
    QRect plotOnScreen(window.MdiArea()->viewport()->mapToGlobal(Frame(plot).topLeft()), Frame(plot).size());
    EXPECT_FALSE(a.intersects(plotOnScreen));
    EXPECT_FALSE(b.intersects(plotOnScreen));
    // The second leaves the first one's title bar free to grab.
    EXPECT_FALSE(b.intersects(QRect(a.topLeft(), QSize(a.width(), TitleBar()))));
    EXPECT_NE(a.topLeft(), b.topLeft());
}

TEST_F(WindowLayoutGuiTest, APlacedDialogOpensWhereItsModelSays)
{
    Small placed(host, "Placed");
    placed.position = TDialogPosition{140, 120};
    placed.Open();
    Pump();
    EXPECT_EQ(DialogFrame(placed).topLeft(), QPoint(140, 120));
}

TEST(QtCanvasText, KeepsItsFontWhenTheMappingChanges)
{
    QImage image(600, 290, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QtCanvas canvas(painter, 600, 290);
    canvas.SetFont(TFontSpec{"Arial", 60, true, false});
    const int height = canvas.TextHeight();
    canvas.MapOntoDevice(1200, 580);
    EXPECT_EQ(canvas.TextHeight(), height);
}

// The y labels stand right-aligned at x = 100 of the 1200 by 580 canvas: whatever the
// window's shape, a label of six characters must fit left of that.
TEST(QtCanvasText, PlotLabelsFitTheirRoomAtAnyWindowShape)
{
    for (QSize size : {QSize(600, 290), QSize(1600, 800), QSize(500, 800), QSize(1900, 300), QSize(300, 145)}) {
        SCOPED_TRACE(QString("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        QtCanvas canvas(painter, size.width(), size.height());
        canvas.SetDesignSize(600, 290);
        canvas.MapOntoDevice(1200, 580);
        canvas.SetFont(TFontSpec{"Arial", 30, false, false});
        EXPECT_LT(canvas.TextWidth("100.00"), 100);
        // And lines of at least 13 pixels once the window has its default size.
        if (size.height() >= 290 && size.width() >= 600) {
            EXPECT_GE(canvas.TextHeight() * size.height() / 580, 13);
        }
    }
}

} // namespace
