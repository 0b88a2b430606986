// A speaker unit file (".unt") read by the unit record and by a box project's driver
// configuration. A unit that loads prints its text and efficiency, and saves into a
// file that reads back to the same record.

#include "FuzzSupport.h"

#include "driver/TSpeakerObject.h"
#include "driver/TSpkData.h"
#include "driver/TSpkEfficiency.h"
#include "driver/TSpkUnitText.h"
#include "settings/TProgramContext.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TTempFile file(data, size, "unit.unt");
    TSpkData unit;
    if (unit.Load(file.Path())) {
        for (int i = 0; i < kSpkParamCount; ++i)
            fuzz::Check(std::isfinite(unit.Param(static_cast<TSpkParam>(i))), "loaded parameters are finite");
        (void)SpkUnitText(unit);
        (void)EfficiencyText(unit);
        (void)SensitivityText(unit);
        const std::vector<std::uint8_t> first = unit.FileBytes();
        fuzz::Check(first.size() <= TSpkData::kMaxFileBytes, "a unit file fits its size limit");
        TSpkData back;
        fuzz::Check(back.ReadFileBytes(first), "a written unit reads back");
        fuzz::Check(back.FileBytes() == first, "a unit reads back unchanged");
    }
    const TProgramContext context(fuzz::PrivateDir());
    TSpeakerObject driver{context};
    if (driver.Load(file.Path()))
        driver.EvaluateComplete();
    return 0;
}
