#pragma once
// The room and cabinet model of a box project: the sound pressure at a listening point
// in a rectangular room, built from the free-air pressures of the box's radiating
// elements. Each group of like elements (driver cones, ports, passive radiators) gets a
// room transfer function: the direct sound, image sources of up to third order in the
// six room surfaces and, for driver cones, the diffraction of the front baffle's edges.
// The model is also the project's plot window "SPL in Room & Cabinet".
//
// Two kinds of change, and what the dialog must do after each:
// - needs a spectra rebuild (MarkRecompute, then CalculateRoom): room size, speaker and
//   listener position, baffle size, element positions, reflection switches and
//   factors, cabinet edges, summation factor, ResetRoom. The image sources and the
//   1 mm edge pieces are evaluated again, once per element.
// - reuses the stored spectra (CalculateRoom alone): normalize, smoothing, show mode
//   (SetShowMode), measured data (ReadMeasuredFile, disabled, transition frequency,
//   automatic level, level offset). The element counts are checked by every
//   calculation and by ShowRoomDialog: a changed count sets recompute by itself.
//
// The model reads the box project only through TRoomInputs, which the project binds
// once (arrays it owns, counts and radii read at each calculation), so it knows
// nothing of box types beyond the groups their type descriptions name.

#include "core/Rad2FFT.h"
#include "core/TComplex.h"
#include "plot/TPlotLogXLinY.h"
#include "room/TRoomSettings.h"
#include "room/TRoomSource.h"
#include "settings/TMeasSetup.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

class TBinaryReader;
class TBinaryWriter;
class THost;
class TProgramFolder;

// One group of like elements as the calculation sees it.
struct TRoomGroupInput {
    TRoomSource source{};            // which positions, which count
    int n = 0;                       // number of elements (0: the group is silent)
    double radius = 0.1;             // piston radius for the directivity, m
    const TComplex* p = nullptr;     // response of all n elements over the box grid
};

// What a box type combines: the first group, less the second when there is one.
struct TRoomInputs {
    std::array<TRoomGroupInput, 2> groups{};
    int groupCount = 0;
    // The box project's arrays over the grid (500 values each).
    const TComplex* pressure = nullptr;         // total pressure, the impact reference
    const TComplex* importCorrection = nullptr; // merged / simulated pressure
    const double* splTotal = nullptr;           // free-air SPL at 1 m, dB
    // The closed box smooths its response before the import correction is applied.
    bool smoothBeforeImport = false;
};

class TRoomCabinet : public TPlotLogXLinY, public TMeasureSetupObject {
public:
    static constexpr int kSpectrum = 1024;  // samples of a room impulse response
    static constexpr int kBins = 512;       // bins of the listening spectrum
    static constexpr double kSampleRate = 10000.0;
    static constexpr double kSoundSpeed = 344.7;
    static constexpr double kBinWidth = kSampleRate / kSpectrum; // 9.765625 Hz
    static constexpr const char* kCaption = "SPL in Room & Cabinet";
    static constexpr const char* kImpactCaption = "Room & Cabinet Impact";
    static constexpr const char* kMeasFilter =
        "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|CLIO (*.txt)|*.txt|MLLSA (*.fmp)|*.fmp|All (*.*)|*.*";
    static constexpr const char* kMeasExtension = "frd";

    // settings: the project's stored room settings (outlive the model). sources: the box
    // type's element groups in list and report order. The window is made minimised.
    TRoomCabinet(THost& host, const TPlotStyles& styles, TCursorDialog* cursor, TRoomSettings& settings,
                 const TMeasSetup& setup, const TProgramFolder& folder, std::span<const TRoomSource> sources);
    ~TRoomCabinet() override;

    TRoomSettings& Settings() { return settings_; }
    const TRoomSettings& Settings() const { return settings_; }
    const TMeasSetup& Setup() const { return setup_; }

    // The project's arrays and counts, asked for at the start of every calculation.
    std::function<void(TRoomInputs&)> bindInputs;

    // All settings and the measured-data fields to their defaults; spectra rebuilt.
    void ResetRoom();
    // Computes the result and the curves and redraws the plot.
    void CalculateRoom();
    // The room costs as much as the rest of a box calculation and its window is usually
    // minimised: the project then only marks it out of date, and the first reader (the
    // window's painting or printing, the results below) calculates it.
    void Defer() { deferred_ = true; }
    bool Deferred() const { return deferred_; }
    void BringUpToDate()
    {
        if (deferred_)
            CalculateRoom();
    }
    void Paint(TCanvas& canvas) override;
    // True until the next calculation after a change that needs the spectra rebuilt.
    bool NeedsRecompute() const { return recompute_; }
    void MarkRecompute() { recompute_ = true; }
    // 1: frequency response, 0: impact; sets the caption and the shown curves.
    void SetShowMode(int mode);

    // The record in project (preferences false, with the window record and the measured
    // data) or preferences form. version: the project file's version.
    [[nodiscard]] bool ReadRoom(TBinaryReader& in, bool preferences, int version);
    void WriteRoom(TBinaryWriter& out, bool preferences) const;
    // The preferences form to a file ("roomcabi.prf"); false when it cannot be written.
    [[nodiscard]] bool WriteRoom(const std::string& path) const;
    // The preferences from a file; a missing or short file leaves every default.
    void LoadPreferences(const std::string& path);

    // Reads a measured SPL file onto the box grid (name stored as the user gave it,
    // resolved through the program folder). A file that cannot be opened is reported
    // when the name is not empty; loaded says whether the read succeeded.
    bool ReadMeasuredFile(const std::string& storedName);
    const TComplex* MeasuredResponse() const { return measured_.data(); }

    // The report lines of the model (TRoomSettings::ReportLines with the current counts).
    std::vector<std::string> ReportRoom() const;
    // The same for the given groups and counts. The box report is made after every
    // calculation, and the lines change only with the settings or the counts: they are
    // kept and formatted again only then.
    const std::vector<std::string>& ReportLines(std::span<const TRoomSource> sources, const TRoomCounts& counts);

    // The element groups of the box type and their current counts.
    std::span<const TRoomSource> Sources() const { return sources_; }
    TRoomCounts Counts() const;
    // Position k (0-based) of a group.
    TPosObject& Position(const TRoomSource& source, int k);

    // The dialog is the front end's: ShowRoomDialog runs the element count check and
    // calls openDialog; the model's destruction calls closeDialog.
    std::function<void(TRoomCabinet&)> openDialog;
    std::function<void()> closeDialog;
    void ShowRoomDialog();
    // The project's recalculation requests of kinds 0 and 2 refresh the open dialog.
    std::function<void()> refreshDialog;
    // Set by the dialog while it is open: the project keeps "R&oom && Cabinet" disabled.
    bool dialogOpen = false;

    // Results over the grid, brought up to date first.
    const double* Level() { BringUpToDate(); return level_.data(); }
    const double* Phase() { BringUpToDate(); return phase_.data(); }
    const double* FreeAir() { BringUpToDate(); return freeAir_.data(); }
    const TComplex* Result() { BringUpToDate(); return result_.data(); }
    // Listening spectrum of the last group computed, bins 0 .. 511.
    const TComplex* ListeningSpectrum() const { return listen_.data(); }
    // Stored room transfer spectra of the first and second group.
    const TComplex* StoredSpectrum(int group) const;
    // Distance from the baffle centre to the listener, m (at least 1 mm).
    double ListeningDistance() const;

private:
    void BuildTables();
    void CheckCounts(const TRoomInputs& in);
    void BuildSpectrum(const TRoomGroupInput& group, std::array<TComplex, kSpectrum>& spectrum, double v);
    void AddEdges(const TPosObject& pos, double v);
    void AddReflections(const TPosObject& pos);
    void BuildListening(int g, const TRoomGroupInput& group, double v);
    // Where each grid frequency falls between the bins: done again only when the grid
    // was laid out anew, so a calculation takes no logarithms for it.
    void PlaceGrid(int count);
    TComplex Interpolate(int k) const;
    void BlendMeasured(int count);
    void Smooth(int count, const TRoomInputs& in);

    TRoomSettings& settings_;
    const TMeasSetup& setup_;
    const TProgramFolder& folder_;
    THost& host_;
    std::span<const TRoomSource> sources_;
    TRoomInputs inputs_{};
    TLineStyle levelStyle_, freeAirStyle_, phaseStyle_;

    bool recompute_ = true;
    struct TReported {
        bool valid = false;
        TRoomSettings settings;
        TRoomCounts counts;
        const TRoomSource* sources = nullptr;
        std::size_t sourceCount = 0;
        std::vector<std::string> lines;
    } reported_;
    bool deferred_ = false;
    std::array<int, 2> storedCounts_{};
    double cd_ = 0;

    Rad2FFT fft_;
    CVector work_;
    std::array<double, kSpectrum> h_{};
    std::array<std::array<TComplex, kSpectrum>, 2> spectra_{};
    std::array<TComplex, kBins> listen_{};
    std::array<double, kBins> binFreq_{};
    std::array<TComplex, 500> result_{}, second_{}, measured_{};
    std::array<double, 500> level_{}, phase_{}, freeAir_{}, logMag_{}, arg_{};
    // The piston directivity of each group per bin, kept while its radius stays.
    std::array<std::array<double, kBins>, 2> directivity_{};
    std::array<double, 2> directivityRadius_{-1, -1};
    std::array<int, 500> bin_{};
    std::array<double, 500> binWeight_{};
    struct TGridKey {
        int count = -1;
        double first = 0, last = 0;
    } placed_;
};
