// The measurement setup dialog through the real widgets: values commit when the
// focus moves on, as a user would do it.
#include "DialogTestUtil.h"

#include "settings/TMeasSetupDialog.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

using D = TMeasSetupDialog;

struct SetupView {
    SetupView() : dialog(host, context, [this](TRecalc kind) { requests.push_back(static_cast<int>(kind)); })
    {
        dialog.Open();
    }
    // Types into a field, then clicks into another one: the focus change commits.
    void TypeAndMoveTo(ShownDialog& d, int id, const char* text, int next)
    {
        d.TypeInto(id, text);
        d.Field(next)->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
    THeadlessHost host;
    TProgramContext context;
    TMeasSetup& setup = context.MeasSetup();
    std::vector<int> requests;
    TMeasSetupDialog dialog;
};

TEST(MeasSetupDialogView, SourceLevelSetsPowerOnFocusChange)
{
    SetupView s;
    ShownDialog d(s.dialog);
    ASSERT_TRUE(d.ready);
    s.TypeAndMoveTo(d, D::LevelId, "2.83", D::ResistanceId);
    EXPECT_EQ(d.Field<QLineEdit>(D::PowerId)->text(), "1.00");
    EXPECT_NEAR(s.setup.sourcePower, 1.0011, 1e-4);
    s.TypeAndMoveTo(d, D::PowerId, "50", D::ResistanceId);
    EXPECT_EQ(d.Field<QLineEdit>(D::LevelId)->text(), "20.0");
    EXPECT_EQ(s.requests, (std::vector<int>{0, 0}));
}

TEST(MeasSetupDialogView, StartAndStopLimitsRefuseWithABeep)
{
    SetupView s;
    ShownDialog d(s.dialog);
    ASSERT_TRUE(d.ready);
    s.TypeAndMoveTo(d, D::StartId, "1995", D::PointsId); // stop is 2000
    EXPECT_EQ(s.host.Beeps(), 1);
    EXPECT_EQ(d.Field<QLineEdit>(D::StartId)->text(), "20");
    s.TypeAndMoveTo(d, D::StartId, "1990", D::PointsId);
    EXPECT_EQ(s.setup.startFrequency, 1990);
    s.TypeAndMoveTo(d, D::StopId, "1999", D::PointsId);
    EXPECT_EQ(s.host.Beeps(), 2);
    EXPECT_EQ(d.Field<QLineEdit>(D::StopId)->text(), "2000");
    EXPECT_EQ(s.setup.stopFrequency, 2000);
}

TEST(MeasSetupDialogView, AutorangeDisablesTheRangeField)
{
    SetupView s;
    ShownDialog d(s.dialog);
    ASSERT_TRUE(d.ready);
    auto* autorange = d.Field<QCheckBox>(D::AutorangeId);
    ASSERT_NE(autorange, nullptr);
    autorange->click();
    QApplication::processEvents();
    EXPECT_TRUE(s.setup.autorange);
    EXPECT_FALSE(d.Field(D::RangeId)->isEnabled());
    EXPECT_EQ(d.Field<QLineEdit>(D::RangeId)->text(), "0");
    autorange->click();
    QApplication::processEvents();
    EXPECT_TRUE(d.Field(D::RangeId)->isEnabled());
    EXPECT_EQ(d.Field<QLineEdit>(D::RangeId)->text(), "30");
}

TEST(MeasSetupDialogView, LooksTidy)
{
    SetupView s;
    ShownDialog d(s.dialog);
    ASSERT_TRUE(d.ready);
    for (QLabel* label : d.view->findChildren<QLabel*>())
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    for (QLineEdit* edit : d.view->findChildren<QLineEdit*>())
        EXPECT_LT(edit->fontMetrics().horizontalAdvance("125000.0"), edit->contentsRect().width());
    // The value fields of a section line up.
    auto x = [&](int id) { return d.Field(id)->x(); };
    EXPECT_EQ(x(D::StartId), x(D::PointsId));
    EXPECT_EQ(x(D::LevelId), x(D::ResistanceId));
    EXPECT_TRUE(d.view->grab().save(QStringLiteral("/tmp/tonvek-measetup-dialog.png")));
}

} // namespace
