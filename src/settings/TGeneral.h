#pragma once
// The general settings that filter projects share: the fixed analysis grid, the
// display range of the frequency plots, the size and rate of the impulse-response
// transform with its tables, the off-axis rays of the surface and overlay plots, the
// listening position of the off-axis responses, the scaling of the diagrams, a few
// display switches and the title of the construction.
//
// One object lives as long as the program (TProgramContext owns it); every new project
// resets it, and a filter project stores it as the first block of its file. A filter
// project registers itself as the listener: every change made through the setters
// below then tells it what to do (mark its networks dirty, refresh its dialogs,
// recalculate). With no listener a change only stores the value.
//
// Copies (the shell's scratch context for a trial read) take the settings but neither
// the listener nor the open dialog: a trial project must never reach the real one.

#include "core/TComplex.h"
#include "settings/TFilterGrid.h"
#include "settings/TListeningSetup.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class TBinaryReader;
class TBinaryWriter;
class TGeneralDialog;

// What the general settings ask of the filter project that registered itself.
class TGeneralListener {
public:
    virtual ~TGeneralListener() = default;
    // Every network and branch needs recomputation (the rays or the listener moved).
    virtual void MarkAllDirty() = 0;
    // The open dialogs of the networks show the settings again.
    virtual void RefreshDialogs() = 0;
    // Networks and totals computed again, windows redrawn.
    virtual void Recalculate() = 0;
    // The version of the project file being read (410 once loaded or new).
    virtual int FileVersion() const = 0;
};

// Why a ray button changed nothing.
enum class TRayChange {
    Done,
    Inhibited,    // "Inhibit" is on: the ray buttons do nothing, silently
    TooMany,      // the list is full
    AlreadyThere, // the angle is already in the list
    OnAxis,       // the on-axis ray or the last ray cannot be removed
    NotFound,     // no such angle or entry
};

class TGeneral {
public:
    static constexpr int kMaxSurfaceRays = 17;
    static constexpr int kMaxOverlayRays = 8;
    static constexpr int kMaxTransform = 8192;           // largest N: twice the largest "# points"
    static constexpr int kMinTransform = 256;            // smallest N
    static constexpr int kTableSize = kMaxTransform / 2; // twiddles and bin frequencies
    static constexpr std::size_t kTitleField = 100;      // bytes in the file, terminator included
    static constexpr std::size_t kMaxTitle = kTitleField - 1;
    static constexpr int kCurrentVersion = 410;
    static constexpr std::size_t kBlockSize = 200; // the block as the current version writes it
    // Block sizes of older versions: before 310 no block at all; 310..399 the first
    // five items; 400..409 all but the vertical and hide phase bytes.
    static constexpr std::size_t kBlockSize310 = 74;
    static constexpr std::size_t kBlockSize400 = 198;
    // The angles the dialog offers, in the order it lists them. 0 is always a ray.
    static constexpr std::array<int, 29> kOfferedAngles = {60,  50,  45,  35,  30,  25,  20,  15,  12,  10,
                                                           7,   5,   2,   1,   -1,  -2,  -5,  -7,  -10, -12,
                                                           -15, -20, -25, -30, -35, -40, -45, -50, -60};

    using TRays = std::array<std::int16_t, kMaxSurfaceRays>;
    using TOverlayRays = std::array<std::int16_t, kMaxOverlayRays>;

    // The defaults, the grid and the tables.
    TGeneral();
    TGeneral(const TGeneral& other) = default;
    TGeneral& operator=(const TGeneral& other) = default;

    // Every setting to its default and the tables rebuilt; an open dialog is closed
    // first (its title taken over, its position kept, the menu command given back).
    // The dialog position and the listener stay.
    void Reset();
    // log2 N, the bin frequencies, the twiddles, the bit reversal and the on-axis index,
    // from N, fs and the surface rays.
    void RebuildTables();

    // The file block. Read takes the items the version has (the others keep their
    // values), checks the whole block and changes nothing when it is short or holds
    // values the program never writes; then the tables are rebuilt and an open dialog
    // shows the new values. Write always
    // writes the current version's 200 bytes.
    [[nodiscard]] bool Read(TBinaryReader& in, int version);
    [[nodiscard]] bool Write(TBinaryWriter& out) const;
    // The block size a version reads.
    static std::size_t BlockSize(int version);

    // The filter project that wants to hear about changes; nullptr unregisters.
    void SetListener(TGeneralListener* listener) { listener_.p = listener; }
    TGeneralListener* Listener() const { return listener_.p; }

    // --- Reading --------------------------------------------------------------------
    const TFilterGrid& FilterGrid() const { return filterGrid_; }

    int LowerFrequency() const { return lowerFrequency_; } // Hz, left end of the plots
    int UpperFrequency() const { return upperFrequency_; } // Hz

    int TransformSize() const { return transformSize_; } // N
    int Points() const { return transformSize_ / 2; }    // "# points": N / 2
    int Log2TransformSize() const { return log2TransformSize_; }
    int SampleRate() const { return sampleRate_; } // fs, Hz
    bool DisableIfft() const { return disableIfft_; }
    // i·fs/N for i < N/2.
    const std::array<double, kTableSize>& BinFrequencies() const { return binFrequencies_; }
    // (cos 2πi/N, sin 2πi/N) for i < N/2.
    const std::array<TComplex, kTableSize>& Twiddles() const { return twiddles_; }
    // i with its log2 N bits reversed, for i < N.
    const std::array<std::int16_t, kMaxTransform>& BitReversal() const { return bitReversal_; }

    // Surface rays: angles in degrees, descending; the overlay rays are chosen from
    // them, in the order they were added.
    int SurfaceRayCount() const { return surfaceRayCount_; }
    int SurfaceRay(int i) const { return surfaceRays_[static_cast<std::size_t>(i)]; }
    const TRays& SurfaceRays() const { return surfaceRays_; }
    int OverlayRayCount() const { return overlayRayCount_; }
    int OverlayRay(int i) const { return overlayRays_[static_cast<std::size_t>(i)]; }
    const TOverlayRays& OverlayRays() const { return overlayRays_; }
    // Index of the angle 0 among the surface rays (0 when it is absent).
    int OnAxisIndex() const { return onAxisIndex_; }

    bool Infinite() const { return infinite_; }
    double Distance() const { return distance_; } // m, used when not infinite
    bool Vertical() const { return vertical_; }
    TListeningSetup ListeningSetup() const { return {vertical_, infinite_, distance_}; }

    bool FlipUpDown() const { return flipUpDown_; }
    bool HideOnAxis() const { return hideOnAxis_; }
    bool Inhibit() const { return inhibit_; } // only the on-axis ray is computed
    bool HidePhase() const { return hidePhase_; }

    bool GroupDelayAuto() const { return groupDelayAuto_; }
    double GroupDelayMinimum() const { return groupDelayMinimum_; } // ms
    double GroupDelayMaximum() const { return groupDelayMaximum_; } // ms
    bool ImpedanceAuto() const { return impedanceAuto_; }
    int ImpedanceMaximum() const { return impedanceMaximum_; } // ohm
    int SplRange() const { return splRange_; }                 // dB

    const std::string& Title() const { return title_; }

    // --- Changes, each followed by what it asks of the filter project ---------------
    // Display range and sample rate: refresh, recalculate.
    void SetLowerFrequency(int hz);
    void SetUpperFrequency(int hz);
    void SetSampleRate(int hz);
    // "# points" is N/2; N = 2·points. False (nothing changes) unless N is a power of
    // two the tables hold.
    bool SetPoints(int points);
    void SetDisableIfft(bool on);
    void SetFlipUpDown(bool on);
    void SetHideOnAxis(bool on);
    void SetInhibit(bool on);
    void SetHidePhase(bool on);
    void SetVertical(bool on);
    // Both move the listener: every network is computed again.
    void SetInfinite(bool on);
    void SetDistance(double metres);
    void SetGroupDelayAuto(bool on);
    void SetGroupDelayMinimum(double ms);
    void SetGroupDelayMaximum(double ms);
    void SetImpedanceAuto(bool on);
    void SetImpedanceMaximum(int ohm);
    void SetSplRange(int db);
    // At most 99 characters are kept; refreshes, does not recalculate.
    void SetTitle(const std::string& title);
    // The same without telling anyone: the dialog's closing takes its title over.
    void StoreTitle(const std::string& title);

    // The ray lists. Nothing changes unless the result is Done.
    // Inserts the angle before the first smaller one, so the list stays descending.
    TRayChange AddSurfaceRay(int angle);
    // Removes the first ray of that angle, and the overlay ray of the same angle.
    TRayChange RemoveSurfaceRay(int angle);
    // Appends a surface ray's angle to the overlay rays.
    TRayChange AddOverlayRay(int angle);
    // Removes overlay entry index (the on-axis entry and the last entry stay).
    TRayChange RemoveOverlayRay(int index);

    // --- The dialog -------------------------------------------------------------------
    // Where the dialog was last closed (0, 0: not placed yet); not stored in files.
    std::int16_t dialogX = 0;
    std::int16_t dialogY = 0;
    static constexpr const char* kHelpFile = "general.txt";
    // The open dialog registers itself here while it is open.
    TGeneralDialog* Dialog() const { return dialog_.p; }
    void SetDialog(TGeneralDialog* dialog) { dialog_.p = dialog; }

private:
    // A reference that a copy does not take.
    template <class T>
    struct TUncopied {
        T* p = nullptr;
        TUncopied() = default;
        TUncopied(const TUncopied&) {}
        // Keeps its own reference, so assigning to itself is no special case.
        TUncopied& operator=(const TUncopied&) { return *this; } // NOLINT(bugprone-unhandled-self-assignment)
    };

    void SetDefaults();
    void UpdateOnAxisIndex();
    // What follows a change: optionally mark all dirty, refresh, optionally recalculate.
    void Changed(bool markDirty, bool recalculate = true);
    void CloseDialogForReset();

    TFilterGrid filterGrid_;

    bool infinite_ = true;
    double distance_ = 1.0;
    std::int16_t lowerFrequency_ = 20;
    std::int16_t upperFrequency_ = 20000;
    std::int16_t transformSize_ = 512;
    std::int16_t log2TransformSize_ = 9;
    std::int32_t sampleRate_ = 44100;
    bool disableIfft_ = false;
    std::int16_t surfaceRayCount_ = 1;
    TRays surfaceRays_{};
    std::int16_t overlayRayCount_ = 1;
    TOverlayRays overlayRays_{};
    std::int16_t onAxisIndex_ = 0;
    bool flipUpDown_ = false;
    bool groupDelayAuto_ = true;
    bool impedanceAuto_ = true;
    std::int16_t splRange_ = 30;
    std::int16_t impedanceMaximum_ = 30;
    double groupDelayMinimum_ = -2.0;
    double groupDelayMaximum_ = 10.0;
    std::string title_;
    bool hideOnAxis_ = false;
    bool inhibit_ = false;
    bool vertical_ = true;
    bool hidePhase_ = false;

    std::array<std::int16_t, kMaxTransform> bitReversal_{};
    std::array<TComplex, kTableSize> twiddles_{};
    std::array<double, kTableSize> binFrequencies_{};

    TUncopied<TGeneralListener> listener_;
    TUncopied<TGeneralDialog> dialog_;
};
