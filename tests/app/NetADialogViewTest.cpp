// The advanced network dialogs in real widgets: the branch list takes double clicks and
// the arrow keys, and every field of both dialogs shows.
// The engine headers come first: TBranchA has a member named like Qt's "slots" keyword.
#include "filter/TBranchA.h"
#include "filter/TDetachedNetOwner.h"
#include "filter/TDriverADialog.h"
#include "filter/TNetA.h"
#include "filter/TNetADialog.h"

#include "DialogTestUtil.h"

#include <QListWidget>
#include <gtest/gtest.h>

namespace {

TEST(NetADialogView, DoubleClickAndArrowsInTheBranchList)
{
    TDetachedNetOwner project;
    TNetA net(project, 0, false);
    net.Branch(1)->SetType(1); // R1 across
    TNetADialog model(project.host, net);
    model.Open();
    ShownDialog d(model);
    ASSERT_TRUE(d.ready);
    auto* list = d.Field<QListWidget>(TNetADialog::kBranches);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), static_cast<int>(model.Lines().size()));
    EXPECT_TRUE(d.view->grab().save(QStringLiteral("/tmp/tonvek-net-dialog.png")));

    const int line = model.LineOf(TNetADialog::TLineKind::Component, 1, &net.Branch(1)->Comp(TCompSlot::R1));
    QRect rect = list->visualItemRect(list->item(line));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(net.Branch(1)->Comp(TCompSlot::R1).Value(), 1.05);
    EXPECT_EQ(list->item(line)->text(), QStringLiteral("R1021\t1.05\tohm"));

    rect = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_NE(model.OpenSubDialog(), nullptr);
    EXPECT_EQ(model.OpenSubDialog()->title, "Passive branch type");
}

TEST(NetADialogView, TheDriverSetDialogShows)
{
    TDetachedNetOwner project;
    TNetA net(project, 0, false);
    TDriverADialog model(project.host, net);
    model.Open();
    model.Select(TDriverADialog::kCount, 3);
    ShownDialog d(model);
    ASSERT_TRUE(d.ready);
    EXPECT_TRUE(d.view->grab().save(QStringLiteral("/tmp/tonvek-driver-set-dialog.png")));
    EXPECT_TRUE(d.Field(TDriverADialog::kSelector)->isVisible());
}

} // namespace
