// A filter project file opened the way a user opens one: the shell reads the type code,
// creates the project and lets it read the rest, over a headless host. Whatever opened
// must paint its windows, hold finite totals unless a measured file was read, and save
// into a file that opens again to the same bytes.

#include "FuzzSupport.h"

#include "core/TBinaryStream.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "shell/TShell.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

#include <cmath>

namespace {

std::vector<std::uint8_t> SaveAndRead(TXover& filter, const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    fuzz::Check(filter.SaveTo(path), "a project that opened can be saved");
    fuzz::Check(ReadWholeFile(path, bytes), "the saved project can be read");
    ::unlink(path.c_str());
    return bytes;
}

bool Measured(const TXover& filter)
{
    for (const TNet* net : filter.Networks())
        for (int d = 0; d < 2; ++d)
            if (net->Driver(d).spl.Loaded() || net->Driver(d).impedance.Loaded())
                return true;
    for (const TNetA* net : filter.AdvancedNets())
        for (int d = 0; d < TNetA::kDrivers; ++d)
            if (net->Drivers().Driver(d).spl.Loaded() || net->Drivers().Driver(d).impedance.Loaded())
                return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TTempFile file(data, size, "project.flt");
    TProgramContext context(fuzz::PrivateDir());
    THeadlessHost host;
    TShell shell(host, context);
    shell.OpenProject(file.Path());
    auto* filter = dynamic_cast<TXover*>(shell.Project());
    if (!filter)
        return 0;
    for (TWindowModel* window : host.Views()) {
        TRecordingCanvas canvas;
        window->Paint(canvas);
    }
    if (!Measured(*filter))
        for (int p = 0; p < TXover::kPoints; ++p)
            fuzz::Check(
                std::isfinite(filter->TotalImpedanceMagnitude()[static_cast<std::size_t>(p)]) &&
                    std::isfinite(filter->SummedLevel(context.General().OnAxisIndex())[static_cast<std::size_t>(p)]),
                "ideal drivers give finite totals");
    const std::string saved = fuzz::PrivateDir() + "/saved.flt";
    const std::vector<std::uint8_t> first = SaveAndRead(*filter, saved);
    const std::string copy = fuzz::PrivateDir() + "/copy.flt";
    fuzz::Check(SaveFileSafely(copy, first.data(), first.size()), "copy written");
    THeadlessHost host2;
    TShell shell2(host2, context);
    shell2.OpenProject(copy);
    ::unlink(copy.c_str());
    auto* again = dynamic_cast<TXover*>(shell2.Project());
    fuzz::Check(again != nullptr, "a saved project opens");
    const std::vector<std::uint8_t> second = SaveAndRead(*again, saved);
    fuzz::Check(second.size() == first.size(), "a project saves as it opened");
    return 0;
}
