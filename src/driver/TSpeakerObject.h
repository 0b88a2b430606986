#pragma once
// A speaker unit in the role it plays in a box project: how many identical drivers
// there are and how they are wired, an extra moving mass, an isobaric pair, the wiring
// of a double voice coil, three non-linear effects and measured SPL data that replace
// the simulated response above a transition frequency. It also computes the
// per-frequency driver terms the box pipeline consumes and holds the per-frequency
// results the pipeline writes back.
//
// Per box calculation the pipeline calls, in this order:
//   PrepareTerms(grid, Ug)                      once, before the passes
//   for k in 0 .. PassCount() - 1:
//       build the load, couple and drive (writes coilImpedance, volumeVelocity,
//       excursion, impedanceMagnitude)
//       if k + 1 < PassCount(): UpdateNonLinear(grid, k + 1, PassCount())
//   ApplyExcursionLimit(grid)
//   build the pressure, then MergeImported(grid, pressure, importCorrection)
//   when the results are shown: outOfDate = false
// TotalFactors() gives kZ, kU and kR of the whole wiring.
//
// Every per-frequency array is a fixed block of 500 values inside the object; no
// computation allocates. Loops run over the grid's points only.

#include "core/TComplex.h"
#include "driver/TSpeakerConnection.h"
#include "driver/TSpkData.h"
#include "settings/TFreqGrid.h"
#include "settings/TMeasSetup.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class TBinaryReader;
class TBinaryWriter;
class THost;
class TProgramContext;

class TSpeakerObject : public TSpkData, public TMeasureSetupObject {
public:
    static constexpr int kPoints = TFreqGrid::kMaxPoints;
    using TComplexBlock = std::array<TComplex, kPoints>;
    using TRealBlock = std::array<double, kPoints>;

    static constexpr std::size_t kBlockSize = 378;
    static constexpr std::size_t kOldBlockSize = 370; // without the load resistor
    // Project files of this version and later carry the load resistor.
    static constexpr int kLoadResistorVersion = 410;
    static constexpr std::size_t kImportNameSize = 271; // at most 270 characters
    static constexpr const char* kImportFilter =
        "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|CLIO (*.txt)|*.txt|MLLSA (*.fmp)|*.fmp|All (*.*)|*.*";
    static constexpr const char* kImportExtension = "frd";
    static constexpr const char* kImportErrorTitle = "Measured data";

    static constexpr int kMinDrivers = 1;
    static constexpr int kMaxDrivers = 9;
    static constexpr double kMaxExtraMass = 1.0;     // kg
    static constexpr double kMaxLoadResistor = 1000.0; // ohm

    // The context gives the box grid (the stored imported data are read onto it when a
    // project is read) and the program folder (names of imported data). The host
    // shows the messages (the owner window); without one nothing is shown.
    explicit TSpeakerObject(const TProgramContext& context, THost* host = nullptr);
    TSpeakerObject(const TSpeakerObject&) = delete;
    TSpeakerObject& operator=(const TSpeakerObject&) = delete;

    void SetHost(THost* host) { host_ = host; }
    THost* Host() const { return host_; }
    const TProgramContext& Context() const { return context_; }

    // The unit cleared and every configuration field back to its default.
    void Clear() override;
    // Saves the unit; a relative path is taken in the program folder.
    [[nodiscard]] bool Save(const std::string& path) override;
    // Loads the unit (a relative path is taken in the program folder); without a double
    // voice coil the coil factors become 1, 1, 1, with one they follow the stored coil
    // connection. complete is evaluated on success.
    [[nodiscard]] bool Load(const std::string& path) override;
    // complete = the unit has the full parameter set.
    void EvaluateComplete() { complete = IsComplete(); }

    // After the unit editor changed the unit: out of date, complete evaluated again, and
    // the coil factors brought in line with the unit's double voice coil flag.
    void UnitChanged();

    // Wiring. Each setter stores the connection with its factors. The coil stage
    // counts only for a unit with two coils, the isobaric stage only when it is on.
    TConnFactors TotalFactors() const;
    // N (kept within 1 .. 9) and the "Series" connection, as the dialog does.
    void SetNumberOfDrivers(int n);
    void SetDriverConnection(int index);
    // On: the stored isobaric connection with its factors; off: separate sources, 1, 1, 1.
    void SetIsobaric(bool on);
    void SetIsobaricConnection(int connection);
    void SetDvcConnection(int connection);
    bool HasDoubleVoiceCoil() const { return doubleVoiceCoil != 0; }
    bool HasLoadResistor() const
    {
        return HasDoubleVoiceCoil() && dvcConnection == TSpeakerConnection::kLoadResistor;
    }

    // The configuration block of the box project file (378 bytes; 370 before version
    // 410). Reading marks the data out of date and complete = 0 first; it takes the
    // whole block and changes nothing when it is short or holds values the program
    // never writes. When the stored imported data were valid, the file is read again
    // onto the grid of the context's setup.
    void WriteConfigBlock(TBinaryWriter& out) const;
    [[nodiscard]] bool ReadConfigBlock(TBinaryReader& in, int version);

    // Per-frequency terms.
    // 10 when the BL or the Cms non-linearity is on, otherwise 1.
    int PassCount() const { return blNonLinear || cmsNonLinear ? 10 : 1; }
    // What a calculation does before the passes: force factor = Bl; when out of date
    // the coil terms, radiation impedance, extra load and imported data; then the
    // mechanical impedance. ug is the generator voltage (V RMS).
    void PrepareTerms(const TFreqGrid& grid, double ug);
    void ResetForceFactor(const TFreqGrid& grid);
    void ComputeMechImpedance(const TFreqGrid& grid);
    // The compliance softened where the excursion exceeds half of Xmax (Cms non-linearity).
    void ReduceCompliance(const TFreqGrid& grid);
    // Voice coil resistance (heated by Ug · kU when voice coil heating is on and Pmax
    // is defined) and the coil inductance.
    void ComputeCoilTerms(const TFreqGrid& grid, double ug);
    // The coil resistance R that the heating rule gives for Uc volts on one coil.
    double HeatedCoilResistance(double uc) const;
    void ComputeRadiationImpedance(const TFreqGrid& grid);
    void ClearExtraLoad(const TFreqGrid& grid);
    // Between passes, after completedPasses (1 .. passes - 1) passes.
    void UpdateNonLinear(const TFreqGrid& grid, int completedPasses, int passes);
    // After the passes: the excursion beyond Xmax is compressed (BL non-linearity).
    void ApplyExcursionLimit(const TFreqGrid& grid);

    // Imported SPL data.
    // Reads the imported file onto the grid; false (imported valid 0) when the file
    // cannot be read, with the message when it cannot be opened and the name is set.
    bool ReadImportedData(const TFreqGrid& grid);
    // The data follow the grid: true when the name is set and the last read was for
    // another name or another grid (or there was none). PrepareTerms reads only then,
    // so a recalculation neither rereads the file nor repeats its error message.
    bool ImportNeedsRead(const TFreqGrid& grid) const;
    // The name as chosen in a file dialog: stored without a leading program folder.
    void SetImportFileName(const std::string& path);
    // Imported data are valid and not disabled.
    bool ImportActive() const { return importValid && !importDisabled; }
    // Replaces the simulated pressure from the transition frequency upwards and lags
    // the phase of the simulated part below it. importCorrection[i] becomes the ratio
    // of the merged to the simulated pressure ((1, 0) where nothing is imported).
    // Returns the transition index: the highest grid index whose simulated response
    // was kept, -1 when none. The spans hold at least the grid's points.
    int MergeImported(const TFreqGrid& grid, std::span<TComplex> pressure, std::span<TComplex> importCorrection);
    // Level offset in dB with its factor L = 10^(dB / 20).
    void SetLevelOffset(double dB);

    // The lines of the information window; an empty title gives "Driver".
    std::vector<std::string> ReportLines(const std::string& title) const;

    // The cone radius the radiation uses: a, or sqrt(Sd / pi) when a is undefined.
    double RadiationRadius() const;

    // Configuration, in stored units.
    bool outOfDate = true; // the per-frequency data must be recomputed
    bool complete = false;
    std::int32_t numberOfDrivers = 1;
    double extraMass = 0.0; // kg, on each cone
    bool isobaric = false;
    bool blNonLinear = false;
    bool coilHeating = false;
    bool cmsNonLinear = false;
    std::int16_t isobaricConnection = TSpeakerConnection::kPairSeparate;
    std::int16_t driverConnection = TSpeakerConnection::kSeparateSources;
    std::int16_t dvcConnection = TSpeakerConnection::kPairSeparate;
    TConnFactors driverFactors;
    TConnFactors dvcFactors;
    TConnFactors isobaricFactors;
    double loadResistor = 0.0; // ohm, across the second voice coil

    // Per-frequency terms (see the box pipeline for their meaning).
    TComplexBlock mechImpedance{};
    TComplexBlock extraLoad{};
    TComplexBlock radiationImpedance{};
    TComplexBlock coilImpedance{};
    TComplexBlock volumeVelocity{};
    TComplexBlock auxPressure{};
    TComplexBlock coilResistance{};
    TComplexBlock coilInductance{};
    TRealBlock excursion{};          // mm peak to peak
    TRealBlock impedanceMagnitude{}; // ohm, whole wiring
    TRealBlock spare{};
    TRealBlock forceFactor{};        // Bl per frequency

    // Imported SPL data.
    std::string importFileName;      // relative to the program folder when it lies there
    TComplexBlock importedResponse{}; // linear pressure on the grid, 1 = 0 dB
    bool importValid = false;
    bool importDisabled = false;
    std::int16_t transitionFrequency = 300; // Hz
    bool autoLevelOffset = true;
    double levelOffset = 0.0;      // dB
    double levelFactor = 1.0;      // 10^(levelOffset / 20)
    double phaseLagCutoff = 100000.0; // Hz

    // Where the configuration dialog was last closed; 0, 0 = not placed yet.
    std::int16_t dialogX = 0;
    std::int16_t dialogY = 0;

private:
    void ResetConfiguration();
    // What the last read of the imported data was for.
    struct TImportReadKey {
        std::string name;
        int count = 0;
        double first = 0.0;
        double last = 0.0;
    };
    static TImportReadKey KeyFor(const std::string& name, const TFreqGrid& grid);
    bool importRead_ = false;
    TImportReadKey importKey_;
    void ReportImportError(const std::string& path) const;

    const TProgramContext& context_;
    THost* host_ = nullptr;
};
