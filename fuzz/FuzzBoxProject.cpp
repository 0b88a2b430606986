// A box project file opened the way a user opens one: the shell reads the type code,
// creates the project and lets it read the rest, over a headless host. The program
// folder is the fuzzer's private folder with the example units in examples/, so a
// project that names one loads it and calculates. Whatever opened must then paint,
// and save into a file that opens to the same project.

#include "FuzzSupport.h"

#include "box/TBoxEmbryo.h"
#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
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
    TProgramFolder::Set(fuzz::PrivateDir());
    const fs::path examples = fs::path(fuzz::PrivateDir()) / "examples";
    fs::create_directories(examples);
    for (const char* unit : {"woofer-10in.unt", "woofer-6in.unt"})
        fs::copy_file(fs::path(TONVEK_SOURCE_DIR) / "examples" / unit, examples / unit,
                      fs::copy_options::overwrite_existing);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TTempFile file(data, size, "project.box");
    THeadlessHost host;
    TShell shell(host);
    shell.OpenProject(file.Path());
    auto* box = dynamic_cast<TBoxEmbryo*>(shell.Project());
    if (!box)
        return 0;
    for (TWindowModel* window : host.Views()) {
        TRecordingCanvas canvas;
        window->Paint(canvas);
    }
    // Save, open the saved file, save again: the two files are the same.
    const std::string saved = fuzz::PrivateDir() + "/saved.box";
    const std::vector<std::uint8_t> first = SaveAndRead(*box, saved);
    const std::string copy = fuzz::PrivateDir() + "/copy.box";
    fuzz::Check(SaveFileSafely(copy, first.data(), first.size()), "copy written");
    THeadlessHost host2;
    TShell shell2(host2);
    shell2.OpenProject(copy);
    ::unlink(copy.c_str());
    auto* again = dynamic_cast<TBoxEmbryo*>(shell2.Project());
    fuzz::Check(again != nullptr, "a saved project opens as a box project");
    for (const TRecordedMessage& m : host2.Messages())
        fuzz::Check(m.text != "Error while reading box data.\nThe project file is corrupt.", "a saved project reads");
    fuzz::Check(SaveAndRead(*again, saved) == first, "a saved project saves unchanged");
    return 0;
}
