#include "core/TProgramFolder.h"
#include "core/TProjectRelative.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class TProjectRelativeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("tonvek-rel-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "prog" / "examples");
        fs::create_directories(dir_ / "proj" / "units");
        program_ = TProgramFolder((dir_ / "prog").string());
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string P(const std::string& rel) const { return (dir_ / rel).generic_string(); }
    void Touch(const std::string& rel) const { std::ofstream(dir_ / rel) << "x"; }

    fs::path dir_;
    TProgramFolder program_;
};

TEST_F(TProjectRelativeTest, StoresRelativeOnlyBelowTheProjectFolder)
{
    const std::string project = P("proj/p.box");
    struct Row {
        std::string name, stored;
    } rows[] = {
        {P("proj/w.unt"), "w.unt"},
        {P("proj/units/w.unt"), "units/w.unt"},
        {P("proj/units/../w.unt"), "w.unt"},
        {P("other/w.unt"), P("other/w.unt")},     // beside, not below: absolute stays
        {"examples/w.unt", "examples/w.unt"},     // program folder relative stays
        {"", ""},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TProjectRelative::Store(program_, r.name, project), r.stored) << r.name;
    // Without a project path nothing changes.
    EXPECT_EQ(TProjectRelative::Store(program_, P("proj/w.unt"), ""), P("proj/w.unt"));
}

TEST_F(TProjectRelativeTest, LocatePrefersTheProjectFolderAndFallsBackToTheProgramFolder)
{
    Touch("proj/units/w.unt");
    Touch("prog/examples/e.unt");
    const std::string project = P("proj/p.box");
    EXPECT_EQ(TProjectRelative::Locate(program_, "units/w.unt", project), P("proj/units/w.unt"));
    // Not beside the project: the program folder takes it, as older projects expect.
    EXPECT_EQ(TProjectRelative::Locate(program_, "examples/e.unt", project), "examples/e.unt");
    EXPECT_EQ(TProjectRelative::Locate(program_, P("other/x.unt"), project), P("other/x.unt"));
    // A project inside the program folder keeps program-folder relative names.
    Touch("prog/examples/w2.unt");
    EXPECT_EQ(TProjectRelative::Locate(program_, "w2.unt", P("prog/examples/p.box")), "examples/w2.unt");
}

} // namespace
