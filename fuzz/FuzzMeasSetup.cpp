// "msetup.prf", the measurement setup preferences, read as the program reads it when a
// box project is made, and the same bytes as the setup block of an older project file
// (without the high-pass fields). A block that is taken gives a usable grid and writes
// back to itself.

#include "FuzzSupport.h"

#include "core/TBinaryStream.h"
#include "settings/TMeasSetup.h"
#include "settings/TProgramContext.h"

#include <cmath>

namespace {

void CheckUsable(const TMeasSetup& setup)
{
    const TFreqGrid& grid = setup.grid;
    fuzz::Check(grid.Count() >= TMeasSetupLimits::kMinPoints && grid.Count() <= TMeasSetupLimits::kMaxPoints,
                "grid point count in range");
    for (int i = 0; i < grid.Count(); ++i) {
        fuzz::Check(std::isfinite(grid.Frequency(i)) && grid.Frequency(i) > 0.0, "grid frequencies positive");
        if (i > 0)
            fuzz::Check(grid.Frequency(i) > grid.Frequency(i - 1), "grid frequencies rise");
    }
    for (int i = 0; i < grid.Count(); ++i) {
        const std::complex<double> u = setup.SourceVoltage(grid.Omega(i));
        const std::complex<double> z = setup.SourceImpedance(grid.Omega(i));
        fuzz::Check(std::isfinite(u.real()) && std::isfinite(u.imag()) && std::isfinite(z.real()) &&
                        std::isfinite(z.imag()),
                    "generator finite");
    }
    (void)setup.ReportLines();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        fuzz::TTempFile file(data, size, TMeasSetup::kPreferencesFile);
        TProgramContext context(fuzz::PrivateDir());
        fuzz::Check(file.Path() == TMeasSetup::PreferencesPath(context.Folder()), "preferences in the program folder");
        TMeasSetup& setup = context.MeasSetup();
        const bool used = setup.LoadPreferences(context.Folder(), false);
        CheckUsable(setup);
        if (used) {
            TBinaryWriter out;
            setup.WriteBlock(out);
            fuzz::Check(out.Size() == TMeasSetup::kBlockSize, "block size");
            TMeasSetup back;
            TBinaryReader in(out.Bytes());
            fuzz::Check(back.ReadBlock(in, TMeasSetup::kCurrentVersion), "a written block reads back");
            TBinaryWriter again;
            back.WriteBlock(again);
            fuzz::Check(again.Bytes() == out.Bytes(), "a block reads back unchanged");
        }
    }
    TMeasSetup old;
    TBinaryReader in(std::vector<std::uint8_t>(data, data + size));
    (void)old.ReadBlock(in, 400);
    CheckUsable(old);
    return 0;
}
