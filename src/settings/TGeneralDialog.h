#pragma once
// "General settings": the modeless dialog on the program's general settings. Its
// values are bound to TGeneral's setters, so every change goes through the settings'
// own rule and reaches the filter project that listens (refresh, recalculate, and for
// the rays and the listening position a recomputation of every network).
//
// Rules of its own: the four ray buttons with their refusals (nothing happens while
// "Inhibit" is on); the distance shows "---" and is read only under "Infinite", the
// group delay limits under their "Auto", the impedance maximum under its "Auto"; the
// title is taken over when the dialog closes as well as when its field is left.
// While the dialog is open it is registered with the settings, so a reset of the
// settings (a new project) closes it and a block read from a file shows at once;
// command 13100 is disabled meanwhile. "Vertical" and "Horizontal" are the two choices
// of one radio field (127), which sets and clears both at once.

#include "ui/TDialogModel.h"

class TGeneral;

class TGeneralDialog : public TDialogModel {
public:
    // Control ids.
    static constexpr int SampleRateId = 101, OverlayListId = 102, PointsId = 103, InfiniteId = 104;
    static constexpr int SurfaceAddId = 105, DisableIfftId = 106, AngleListId = 107, SurfaceListId = 108;
    static constexpr int DistanceId = 109, SurfaceRemoveId = 110, LowerId = 111, UpperId = 112;
    static constexpr int OverlayAddId = 113, OverlayRemoveId = 114, FlipId = 117;
    static constexpr int GroupDelayMinId = 118, GroupDelayMaxId = 119, GroupDelayAutoId = 120;
    static constexpr int HideOnAxisId = 121, ImpedanceMaxId = 122, ImpedanceAutoId = 123;
    static constexpr int TitleId = 124, InhibitId = 125, HidePhaseId = 126, PlaneId = 127;
    static constexpr int SplRangeId = 130;
    // The main window's "&General".
    static constexpr int MenuCommandId = 13100;
    // What "---" reads where a value does not apply.
    static constexpr const char* kNotApplicable = "---";

    TGeneralDialog(THost& host, TGeneral& general);
    ~TGeneralDialog() override;

    // Opens the dialog (or raises it when open): the lists filled with their first
    // entries selected, the fields showing the settings, the dialog registered with
    // the settings.
    void Show();

private:
    void FillRayLists();
    void RayButton(int id);
    TGeneral& general_;
};
