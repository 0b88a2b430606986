// A copy of the program context (what the shell's trial read works on) is independent
// of the program's own.
#include "settings/TProgramContext.h"

#include <gtest/gtest.h>

TEST(TProgramContext, ACopyChangesNothingOfTheOriginal)
{
    TProgramContext program("/opt/tonvek");
    program.MeasSetup().pointCount = 123;
    TProgramContext scratch = program;
    scratch.MeasSetup().pointCount = 77;
    scratch.MeasSetup().SetSourceLevel(9.0);
    scratch.SetFolder("/elsewhere");
    EXPECT_EQ(program.MeasSetup().pointCount, 123);
    EXPECT_DOUBLE_EQ(program.MeasSetup().sourceLevel, TMeasSetup().sourceLevel);
    EXPECT_EQ(program.Folder().Path(), "/opt/tonvek/");
}
