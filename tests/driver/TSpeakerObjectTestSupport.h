#pragma once
// Shared pieces of the driver configuration tests: a private program folder with a
// fresh measurement setup, a real driver, and a free-air pass that couples and drives
// the driver the way the box pipeline does (load = mechanical + radiation impedance).

#include "driver/TSpeakerObject.h"
#include "settings/TProgramContext.h"

#include <cmath>
#include <complex>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

class TSpeakerTestFolder {
public:
    TSpeakerTestFolder()
    {
        static int serial = 0;
        path_ = std::filesystem::temp_directory_path()
              / ("tonvek-speaker-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TSpeakerTestFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TSpeakerTestFolder(const TSpeakerTestFolder&) = delete;
    TSpeakerTestFolder& operator=(const TSpeakerTestFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// A private folder and a context of its own over it, whose setup has the factory
// values (50 points, 20 .. 2000 Hz, Ug 2.83 V).
struct TSpeakerTestEnv {
    TSpeakerTestFolder folder;
    TProgramContext context{folder.Path()};
    TMeasSetup& Setup() { return context.MeasSetup(); }
    const TFreqGrid& Grid() { return context.MeasSetup().grid; }
};

// SEAS E0018-08S W18E001, /work/shared/refdata/drivers.csv (row seas_w18e001), in SI
// units; Xmax there is one-way (5 mm), the unit record keeps it peak to peak.
inline void SetReferenceUnit(TSpkData& u)
{
    u.Clear();
    u.SetManufacturer("SEAS");
    u.SetModel("E0018-08S W18E001");
    u.fs = 34.0;
    u.Qms = 2.91;
    u.Qes = 0.49;
    u.Qts = 0.42;
    u.Vas = 0.030;
    u.Cas = u.Vas * 7.142857142857143e-6;
    u.Re = 6.1;
    u.Le = 0.65e-3;
    u.SetSd(126e-4);
    u.Bl = 6.6;
    u.Mms = 15.5e-3;
    u.Mmd = 14.4e-3;
    u.Cms = 1.4e-3;
    u.Rms = 1.2;
    u.Xmax = 10e-3;
    u.Pmax = 250.0;
    u.UpdateSquares();
}

inline std::unique_ptr<TSpeakerObject> MakeReferenceSpeaker(const TProgramContext& context)
{
    auto s = std::make_unique<TSpeakerObject>(context);
    SetReferenceUnit(*s);
    s->EvaluateComplete();
    return s;
}

// One coupling and driving step in free air (infinite baffle, one side loaded), with
// the formulas of the box pipeline.
inline void FreeAirPass(TSpeakerObject& s, const TFreqGrid& grid, const TMeasSetup& setup)
{
    const TConnFactors k = s.TotalFactors();
    for (int i = 0; i < grid.Count(); ++i) {
        std::complex<double> zt = s.mechImpedance[i] + s.radiationImpedance[i] + s.extraLoad[i];
        if (s.isobaric)
            zt += s.mechImpedance[i];
        if (s.HasDoubleVoiceCoil() && !s.HasLoadResistor())
            zt *= 0.5;
        std::complex<double> z = s.isobaric ? 0.5 * zt : zt;
        std::complex<double> motional = s.forceFactor[i] * s.forceFactor[i] / (z * s.Sd * s.Sd);
        s.coilImpedance[i] = motional + s.coilResistance[i];
        s.impedanceMagnitude[i] = std::abs(k.kZ * (s.coilImpedance[i] + s.coilInductance[i]));
        std::complex<double> zs = setup.SourceImpedance(grid.Omega(i), k.kR);
        std::complex<double> current = setup.SourceVoltage(grid.Omega(i)) * k.kU / (s.coilImpedance[i] + zs);
        std::complex<double> force = current * s.forceFactor[i] * (s.isobaric ? 2.0 : 1.0);
        s.volumeVelocity[i] = force / s.Sd / zt;
        s.excursion[i] = std::abs(s.volumeVelocity[i] / s.Sd / grid.Omega(i)) * 1000.0 * 2.828;
    }
}

// A whole calculation as the pipeline runs it, without the box.
inline void FreeAirCalculation(TSpeakerObject& s, const TFreqGrid& grid, const TMeasSetup& setup)
{
    s.PrepareTerms(grid, setup.sourceLevel);
    const int passes = s.PassCount();
    for (int k = 0; k < passes; ++k) {
        FreeAirPass(s, grid, setup);
        if (k + 1 < passes)
            s.UpdateNonLinear(grid, k + 1, passes);
    }
    s.ApplyExcursionLimit(grid);
}
