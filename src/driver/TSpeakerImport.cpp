// Measured SPL data that replace the simulated response from the transition frequency
// upwards: reading them onto the box grid and merging them into the pressure.
#include "TSpeakerObject.h"

#include "driver/TSpkMessages.h"
#include "measdata/TMeasCurveReader.h"
#include "settings/TProgramContext.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>

void TSpeakerObject::SetImportFileName(const std::string& path)
{
    importFileName = context_.Folder().Strip(path);
    if (importFileName.size() >= kImportNameSize)
        importFileName.resize(kImportNameSize - 1); // the project file keeps 270 characters
}

void TSpeakerObject::ReportImportError(const std::string& path) const
{
    if (host_)
        host_->Message(TSpkMessages::ProjectUnitMissing(path), kImportErrorTitle, TMsgButtons::Ok,
                       TMsgIcon::Warning);
}

TSpeakerObject::TImportReadKey TSpeakerObject::KeyFor(const std::string& name, const TFreqGrid& grid)
{
    TImportReadKey key;
    key.name = name;
    key.count = grid.Count();
    if (key.count > 0) {
        key.first = grid.Frequency(0);
        key.last = grid.Frequency(key.count - 1);
    }
    return key;
}

bool TSpeakerObject::ImportNeedsRead(const TFreqGrid& grid) const
{
    // Compared field by field: a calculation asks this and must not allocate.
    if (importFileName.empty())
        return false;
    if (!importRead_ || importKey_.name != importFileName || importKey_.count != grid.Count())
        return true;
    return grid.Count() > 0
        && (importKey_.first != grid.Frequency(0) || importKey_.last != grid.Frequency(grid.Count() - 1));
}

bool TSpeakerObject::ReadImportedData(const TFreqGrid& grid)
{
    importValid = false;
    importRead_ = !importFileName.empty();
    importKey_ = KeyFor(importFileName, grid);
    if (importFileName.empty())
        return false;
    const std::string path = context_.Folder().Resolve(importFileName);
    TMeasGrid measGrid;
    measGrid.frequencies = grid.Frequencies().data();
    measGrid.count = grid.Count();
    switch (ReadMeasCurveFile(path, measGrid, TMeasKind::Spl, importedResponse.data())) {
    case TMeasReadResult::NotOpened: ReportImportError(path); return false;
    case TMeasReadResult::NotLoaded: return false;
    case TMeasReadResult::Loaded: break;
    }
    importValid = true;
    return true;
}

int TSpeakerObject::MergeImported(const TFreqGrid& grid, std::span<TComplex> pressure,
                                  std::span<TComplex> importCorrection)
{
    const int n = static_cast<int>(
        std::min({static_cast<std::size_t>(grid.Count()), pressure.size(), importCorrection.size()}));
    const bool active = ImportActive();
    int t = -1;
    if (!active) {
        // Nothing to merge: the simulated part runs to the last point with a level, which
        // a walk from the top finds at once.
        std::fill_n(importCorrection.begin(), n, TComplex(1.0, 0.0));
        for (t = n - 1; t >= 0 && !(SquaredMagnitudeOf(pressure[t]) > 0.0); --t) {
        }
        return t;
    }
    for (int i = 0; i < n; ++i) {
        importCorrection[i] = TComplex(1.0, 0.0);
        TComplex& p = pressure[i];
        if (!(SquaredMagnitudeOf(p) > 0.0))
            continue;
        const double f = grid.Frequency(i);
        if (!active || transitionFrequency > f) {
            t = i;
            // Measured data carry the delay of the real driver; the simulated part below
            // the transition gets a matching phase lag so both parts join. A cutoff of 0
            // is the limit of no lag (c^4 tends to 1), not a division by zero.
            if (active && phaseLagCutoff > 0.0) {
                const TComplex c = TComplex(1.0, -f / phaseLagCutoff) / std::abs(TComplex(1.0, -f / phaseLagCutoff));
                const TComplex c2 = c * c;
                p *= c2 * c2;
            }
            continue;
        }
        if (i == t + 1 && autoLevelOffset) {
            const double imported = std::abs(importedResponse[i]);
            if (t == -1 || !(imported > 0.0)) {
                // Nothing simulated to meet, or nothing measured to scale: unity level.
                levelFactor = 1.0;
                levelOffset = 0.0;
            } else {
                levelFactor = std::abs(pressure[t]) / imported;
                levelOffset = 20.0 * std::log10(levelFactor);
            }
        }
        const TComplex merged = levelFactor * importedResponse[i];
        importCorrection[i] = merged / p;
        p = merged;
    }
    return t;
}
