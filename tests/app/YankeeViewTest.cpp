// The Yankee tool through the real widgets, its menu command in the main window,
// and a picture of it for a look.
#include "DialogTestUtil.h"

#include "app/QtHost.h"
#include "app/TMainApp.h"
#include "app/TMainWindow.h"
#include "app/TScreenshot.h"
#include "settings/TProgramContext.h"
#include "shell/TYankee.h"
#include "ui/TCommandIds.h"
#include "ui/THeadlessHost.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

struct ConvertRow {
    int from;
    const char* typed;
    int to;
    const char* shown;
};

TEST(YankeeView, ConvertsThroughTheWidgets)
{
    const ConvertRow rows[] = {
        {TYankee::Inch, "25.4", TYankee::Millimetre, "645.160"},
        {TYankee::Millimetre, "1", TYankee::Inch, "0.0394"},
        {TYankee::CubicFoot, "2,5", TYankee::Litre, "70.79"},
        {TYankee::SquareInch, "54", TYankee::SquareCentimetre, "348.39"},
        {TYankee::SquareMetre, "2", TYankee::SquareFoot, "21.53"},
    };
    for (const ConvertRow& r : rows) {
        SCOPED_TRACE(r.typed);
        THeadlessHost host;
        TYankee yankee(host);
        yankee.Open();
        ShownDialog d(yankee);
        ASSERT_TRUE(d.ready);
        d.TypeInto(r.from, r.typed);
        QTest::keyClick(d.Field(r.from), Qt::Key_Return);
        EXPECT_EQ(d.Field<QLineEdit>(r.to)->text(), r.shown);
        EXPECT_EQ(host.Beeps(), 0);
    }
}

TEST(YankeeView, LooksTidy)
{
    THeadlessHost host;
    TYankee yankee(host);
    yankee.Open();
    ShownDialog d(yankee);
    // Every caption and value fits its widget.
    for (QLabel* label : d.view->findChildren<QLabel*>())
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    for (QLineEdit* edit : d.view->findChildren<QLineEdit*>()) {
        int room = edit->contentsRect().width();
        EXPECT_LT(edit->fontMetrics().horizontalAdvance(edit->text()), room) << edit->text().toStdString();
    }
    // Metric and imperial columns line up.
    auto x = [&](const char* name) { return d.view->findChild<QWidget*>(name)->x(); };
    EXPECT_EQ(x("field105"), x("field106"));
    EXPECT_EQ(x("field105"), x("field108"));
    EXPECT_EQ(x("field103"), x("field101"));
    EXPECT_EQ(x("unit103"), x("unit107"));
    QString path = QStringLiteral("/tmp/tonvek-yankee-dialog.png");
    EXPECT_TRUE(d.view->grab().save(path));
}

TEST(YankeeView, OpensInTheMainWindowAndDisablesItsCommand)
{
    TProgramContext context;
    TMainApp app(context);
    app.Start({QString(), false});
    QAction* command = app.Window().Action(TCmd::YankeeTool);
    ASSERT_NE(command, nullptr);
    const bool before = command->isEnabled(); // false until the shell runs the command
    {
        TYankee yankee(app.Host());
        yankee.Open();
        QApplication::processEvents();
        EXPECT_FALSE(command->isEnabled());
        std::vector<QWidget*> views = app.Host().DialogWidgets();
        ASSERT_EQ(views.size(), 1u);
        EXPECT_EQ(views[0]->windowTitle(), "Yankee tool !");
        EXPECT_TRUE(TScreenshot::Save(app, QStringLiteral("/tmp/tonvek-main-with-yankee.png")));
        views[0]->close();
        QApplication::processEvents();
        EXPECT_FALSE(yankee.IsOpen());
        EXPECT_EQ(command->isEnabled(), before);
        EXPECT_TRUE(app.Host().DialogWidgets().empty());
    }
}

} // namespace
