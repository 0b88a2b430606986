#pragma once
// "Transient resp.": the modeless dialog of a box project's transient response window.
// Resolution (time step), input signal (impulse, step, tone burst), the burst's
// frequency and periods, whether the burst's input is shown, zoom and whether the
// window calculates at all. Every change goes straight into the window's settings, tells
// the owner (the project is changed) and updates the window; a new time step makes the
// impulse response anew. "&Save" writes the window's block to "stepresp.prf", "Set to
// &default" restores the defaults.

#include "ui/TDialogModel.h"
#include "ui/TFieldInfo.h"

#include <functional>
#include <string>

class TStepResponse;

enum class TStepRespField { Frequency, Periods, ShowInput, Zoom, Enable };

// "Frequency" (Hz, 10 .. 500), "# periods" (1 .. 20) and the three switches.
const TFieldInfo& StepRespFieldInfo(TStepRespField field);

class TStepRespDialog : public TDialogModel {
public:
    // Control ids.
    static constexpr int kEnable = 102, kFrequency = 103, kImpulse = 107, kPeriods = 108, kResolution = 110,
                         kShowInput = 111, kZoom = 114;
    // The kind radio carries the id of its first choice; the others are its items.
    static constexpr int kKind = kImpulse;
    // Commands of the "&Preferences" menu.
    static constexpr int kSave = 10501, kDefault = 10502;

    struct TOwner {
        std::function<void()> changed;    // a setting changed: the project is changed
        std::function<bool()> hasResults; // the project has a response to transform
        std::string preferencesPath;      // where "&Save" writes
    };

    TStepRespDialog(THost& host, TStepResponse& window, TOwner owner, int mainMenuCommand = 0);

    // The resolutions' items and the index of a time step (the nearest offered one).
    static const std::vector<std::string>& ResolutionItems();
    static int ResolutionIndex(double timeStep);

private:
    // The window follows its settings and calculates again (with a new spectrum when the
    // time step or the enabling changed).
    void Changed(bool newSpectrum);
    void Preferences(int command);
    bool Enabled() const;
    bool Burst() const;

    TStepResponse& window_;
    TOwner owner_;
};
