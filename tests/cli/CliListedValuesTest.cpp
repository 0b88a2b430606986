// Values a dialog shows in list lines are named, listed and set like its fields, and
// a second dialog's value of the same name carries that dialog's title.
#include "cli/CliFields.h"
#include "ui/THeadlessHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Lines : public TDialogModel {
public:
    Lines(THost& host, std::string title) : TDialogModel(host, std::move(title))
    {
        AddCheck(101, "", "Disconnect", false);
        listedValues = [this] {
            return std::vector<TListedValue>{
                {"Branch 01", type, "", "None|R1", [this](const std::string& t) { return Take(t); }}};
        };
    }
    bool Take(const std::string& text)
    {
        if (text != "None" && text != "R1")
            return false;
        type = text;
        return true;
    }
    std::string type = "None";
};

TEST(CliListedValues, AreListedFoundAndSetThroughTheDialog)
{
    THeadlessHost host;
    Lines one(host, "Net 1"), two(host, "Net 2");
    const std::vector<TDialogModel*> dialogs = {&one, &two};
    std::vector<std::string> lines;
    for (const TNamedField& f : SettableFields(dialogs))
        lines.push_back(FieldLine(f));
    EXPECT_EQ(lines, (std::vector<std::string>{"Disconnect\toff\t\ton|off", "Branch 01\tNone\t\tNone|R1",
                                               "Net 2:Disconnect\toff\t\ton|off", "Net 2:Branch 01\tNone\t\tNone|R1"}));

    EXPECT_EQ(AssignField(dialogs, host, "branch  01 = R1", "p.flt"), "");
    EXPECT_EQ(one.type, "R1");
    EXPECT_EQ(AssignField(dialogs, host, "Net 2:Branch 01=R1", "p.flt"), "");
    EXPECT_EQ(two.type, "R1");
    EXPECT_EQ(AssignField(dialogs, host, "Branch 01=C", "p.flt"),
              "\"C\" was refused: Branch 01 takes None|R1");
    EXPECT_EQ(one.type, "R1");
    EXPECT_NE(AssignField(dialogs, host, "Branch 02=R1", "p.flt").find("Close matches: \"Branch 01\""),
              std::string::npos);
}

} // namespace
