// A measured response or impedance file read by the one curve reader, as SPL and as
// impedance, onto the box grid (the default one and the densest) and onto the fixed
// filter grid. A file that loads gives finite values only; one that does not leaves
// the response as it was.

#include "FuzzSupport.h"

#include "measdata/TMeasCurveReader.h"
#include "settings/TFilterGrid.h"
#include "settings/TFreqGrid.h"

#include <array>
#include <cmath>
#include <complex>

namespace {

using TResponse = std::array<std::complex<double>, TMeasGrid::kMaxPoints>;

void ReadOnto(const std::string& path, const TMeasGrid& grid)
{
    for (TMeasKind kind : {TMeasKind::Spl, TMeasKind::Impedance}) {
        TResponse response;
        response.fill({7.0, -7.0});
        TMeasReadReport report;
        const TMeasReadResult result = ReadMeasCurveFile(path, grid, kind, response.data(), &report);
        fuzz::Check(result != TMeasReadResult::NotOpened, "a regular file opens");
        fuzz::Check((result == TMeasReadResult::Loaded) == report.loaded, "result and report agree");
        for (int i = 0; i < grid.count; ++i) {
            const std::complex<double> v = response[static_cast<std::size_t>(i)];
            if (result == TMeasReadResult::Loaded)
                fuzz::Check(std::isfinite(v.real()) && std::isfinite(v.imag()), "loaded values are finite");
            else
                fuzz::Check(v == std::complex<double>(7.0, -7.0), "a failed read changes nothing");
        }
        (void)MeasReadNotes(report);
    }
}

TMeasGrid BoxGrid(const TFreqGrid& grid)
{
    TMeasGrid g;
    g.frequencies = grid.Frequencies().data();
    g.count = grid.Count();
    return g;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TFilterGrid filterGrid;
    static const TFreqGrid defaultGrid = [] {
        TFreqGrid g;
        (void)g.Layout(20, 2000, 50);
        return g;
    }();
    static const TFreqGrid densestGrid = [] {
        TFreqGrid g;
        (void)g.Layout(1, 20000, 500);
        return g;
    }();
    fuzz::TTempFile file(data, size, "measured.frd");
    ReadOnto(file.Path(), BoxGrid(defaultGrid));
    ReadOnto(file.Path(), BoxGrid(densestGrid));
    TMeasGrid filter;
    filter.frequencies = filterGrid.Frequencies().data();
    filter.logarithms = filterGrid.Logarithms().data();
    filter.count = filterGrid.Count();
    ReadOnto(file.Path(), filter);
    return 0;
}
