// A box project file opened the way a user opens one: the shell reads the type code,
// creates the project and lets it read the rest, over a headless host. The program
// folder is the fuzzer's private folder with the example units in examples/, so a
// project that names one loads it and calculates. Whatever opened must then paint,
// and save into a file that opens again.

#include "FuzzSupport.h"

#include "box/TBoxEmbryo.h"
#include "core/TBinaryStream.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

#include <filesystem>

namespace {

std::vector<std::uint8_t> SaveAndRead(TBoxEmbryo& box, const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    fuzz::Check(box.SaveTo(path), "a project that opened can be saved");
    fuzz::Check(ReadWholeFile(path, bytes), "the saved project can be read");
    ::unlink(path.c_str());
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    namespace fs = std::filesystem;
    const fs::path examples = fs::path(fuzz::PrivateDir()) / "examples";
    fs::create_directories(examples);
    for (const char* unit : {"woofer-10in.unt", "woofer-6in.unt", "woofer-7in.unt", "woofer-10in-4ohm.unt"})
        fs::copy_file(fs::path(TONVEK_SOURCE_DIR) / "examples" / unit, examples / unit,
                      fs::copy_options::overwrite_existing);
    return 0;
}

namespace {

constexpr const char* kCorrupt = "Error while reading box data.\nThe project file is corrupt.";

bool OpenedWhole(const THeadlessHost& host)
{
    for (const TRecordedMessage& m : host.Messages())
        if (m.text == kCorrupt)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TTempFile file(data, size, "project.box");
    TProgramContext context(fuzz::PrivateDir());
    THeadlessHost host;
    TShell shell(host, context);
    shell.OpenProject(file.Path());
    auto* box = dynamic_cast<TBoxEmbryo*>(shell.Project());
    if (!box)
        return 0;
    for (TWindowModel* window : host.Views()) {
        TRecordingCanvas canvas;
        window->Paint(canvas);
    }
    // Whatever opened saves, and the saved file opens whole. When the file opened
    // whole, saving what the saved file opened to gives the same bytes again. (A failed
    // open keeps the blocks read before the failure, such as a hidden information
    // window, which no whole file opens to.)
    const std::string saved = fuzz::PrivateDir() + "/saved.box";
    const std::vector<std::uint8_t> first = SaveAndRead(*box, saved);
    const std::string copy = fuzz::PrivateDir() + "/copy.box";
    fuzz::Check(SaveFileSafely(copy, first.data(), first.size()), "copy written");
    THeadlessHost host2;
    TShell shell2(host2, context);
    shell2.OpenProject(copy);
    ::unlink(copy.c_str());
    auto* again = dynamic_cast<TBoxEmbryo*>(shell2.Project());
    fuzz::Check(again != nullptr && OpenedWhole(host2), "a saved project opens");
    const std::vector<std::uint8_t> second = SaveAndRead(*again, saved);
    if (OpenedWhole(host))
        fuzz::Check(second == first, "a project saves as it opened");
    return 0;
}
