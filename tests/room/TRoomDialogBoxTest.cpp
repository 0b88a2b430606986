// The room dialog of every box type, opened as the user opens it (command 10205): the
// element list names the type's elements, the command stays disabled while the dialog
// is open, and the project's recalculations keep the list up to date.

#include "room/TRoomCabinet.h"
#include "room/TRoomCabinetDialog.h"

#include "box/TBoxEmbryo.h"
#include "box/TBoxType.h"
#include "box/elements/TBoxObject.h"
#include "support/BoxTestBench.h"
#include "ui/TCommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

class RoomDialogBoxTest : public ::testing::TestWithParam<const TBoxType*>, protected BoxTestBench {
protected:
    void SetUp() override { Enter("tonvek-roomdlg"); }
    void TearDown() override { Leave(); }
};

using D = TRoomCabinetDialog;

} // namespace

TEST_P(RoomDialogBoxTest, CommandOpensTheDialogWithTheTypesElements)
{
    // One element of each kind, by type code.
    const std::map<int, std::vector<std::string>> lists = {
        {0, {"Driver unit"}},
        {1, {"Driver unit", "Port"}},
        {2, {"Driver unit", "Front port"}},
        {3, {"Driver unit", "Front port"}},
        {4, {"Driver unit", "Abr"}},
        {5, {"Port"}},
        {6, {"Front port"}},
        {7, {"Front port", "Rear port"}},
        {8, {"Side port", "Middle port"}},
        {9, {}},
    };
    auto box = GetParam()->make(host_, context_);
    Prepare(*box, 0.02);
    box->Calculate(0);
    EXPECT_EQ(host_.CommandEnabled(TCmd::RoomCabinet), std::optional<bool>(true));
    ASSERT_TRUE(box->HandleCommand(TCmd::RoomCabinet));
    D* dialog = box->RoomDialog().OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Field(D::kElements).items, lists.at(box->TypeCode()));
    EXPECT_EQ(host_.CommandEnabled(TCmd::RoomCabinet), std::optional<bool>(false));
    box->Calculate(0);
    EXPECT_EQ(host_.CommandEnabled(TCmd::RoomCabinet), std::optional<bool>(false));

    // A second driver shows at the next recalculation; the open dialog is listed for
    // the command line.
    if (box->TypeCode() <= 4) {
        box->FrontDriver().SetNumberOfDrivers(2);
        box->FrontDriver().outOfDate = true;
        box->RecalcRequest(TRecalc::Recalculate);
        ASSERT_GE(dialog->Field(D::kElements).items.size(), 2u);
        EXPECT_EQ(dialog->Field(D::kElements).items[0], "Driver unit 1");
        EXPECT_EQ(dialog->Field(D::kElements).items[1], "Driver unit 2");
    }
    const std::vector<TDialogModel*> dialogs = box->ParameterDialogs();
    EXPECT_NE(std::find(dialogs.begin(), dialogs.end(), dialog), dialogs.end());

    dialog->RequestClose();
    EXPECT_EQ(box->RoomDialog().OpenDialog(), nullptr);
    EXPECT_EQ(host_.CommandEnabled(TCmd::RoomCabinet), std::optional<bool>(true));
    EXPECT_FALSE(box->RoomModel().NeedsRecompute());
}

INSTANTIATE_TEST_SUITE_P(EveryBoxType, RoomDialogBoxTest,
                         ::testing::ValuesIn(TBoxTypes::All().begin(), TBoxTypes::All().end()),
                         [](const auto& info) { return info.param->cliName; });
