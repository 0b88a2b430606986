#include "settings/TGeneralDialog.h"

#include "settings/TGeneral.h"
#include "settings/TGeneralFields.h"
#include "ui/THost.h"

#include <cmath>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

using F = TGeneralField;

namespace {

// A value field that shows "---" and takes no entry while its automatic switch is on.
void NotApplicableWhen(TField& f, bool on)
{
    if (f.kind == TFieldKind::Long)
        f.lng.SetUndefined(on ? std::optional<std::int32_t>(f.lng.Value()) : std::nullopt,
                           TGeneralDialog::kNotApplicable);
    else
        f.dbl.SetUndefined(on ? std::optional<double>(f.dbl.Value()) : std::nullopt, TGeneralDialog::kNotApplicable);
    f.ReadOnly(on);
}

// A value bound to a getter and a setter of the settings: a switch is set by any
// value but 0, a whole number is rounded to the nearest.
template <class T>
TFieldBinding Through(TGeneral& g, T (TGeneral::*get)() const, void (TGeneral::*set)(T))
{
    return {.read = [&g, get] { return static_cast<double>((g.*get)()); },
            .write =
                [&g, set](double v) {
                    if constexpr (std::is_same_v<T, bool>)
                        (g.*set)(v != 0.0);
                    else if constexpr (std::is_integral_v<T>)
                        (g.*set)(static_cast<T>(std::lround(v)));
                    else
                        (g.*set)(v);
                    return true;
                }};
}

// A choice list bound to a whole-number setting: the entry of the value, the value of
// the entry.
template <class R>
TFieldBinding Choice(const TGeneralChoice& choice, TGeneral& g, int (TGeneral::*get)() const, R (TGeneral::*set)(int))
{
    return {.read = [&choice, &g, get] { return static_cast<double>(choice.IndexOf((g.*get)())); },
            .write =
                [&choice, &g, set](double index) {
                    const int value = choice.ValueAt(static_cast<int>(index));
                    if (value == 0)
                        return false;
                    (void)(g.*set)(value);
                    return true;
                }};
}

std::vector<std::string> RayItems(const std::int16_t* rays, int count)
{
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        items.push_back(RayText(rays[i]));
    return items;
}

std::vector<std::string> AngleItems()
{
    std::vector<std::string> items;
    items.reserve(TGeneral::kOfferedAngles.size());
    for (int angle : TGeneral::kOfferedAngles)
        items.push_back(RayText(angle));
    return items;
}

} // namespace

TGeneralDialog::TGeneralDialog(THost& host, TGeneral& g)
    : TDialogModel(host, "General settings", TGeneral::kHelpFile), general_(g)
{
    menuCommand = MenuCommandId;
    KeepPositionIn(g.dialogX, g.dialogY);

    const auto info = [](F field) -> const TFieldInfo& { return GeneralFieldInfo(field); };
    const auto combo = [this](int id, const TGeneralChoice& choice, TFieldBinding binding) -> TField& {
        TField& f = AddCombo(id, choice.label, choice.Items(), -1).Bind(std::move(binding));
        f.unit = choice.unit;
        return f;
    };

    Group("Display frequency response");
    combo(LowerId, LowerFrequencyChoice(),
          Choice(LowerFrequencyChoice(), g, &TGeneral::LowerFrequency, &TGeneral::SetLowerFrequency));
    combo(UpperId, UpperFrequencyChoice(),
          Choice(UpperFrequencyChoice(), g, &TGeneral::UpperFrequency, &TGeneral::SetUpperFrequency));

    Group("IFFT (impulse response)");
    combo(PointsId, PointsChoice(), Choice(PointsChoice(), g, &TGeneral::Points, &TGeneral::SetPoints));
    combo(SampleRateId, SampleRateChoice(),
          Choice(SampleRateChoice(), g, &TGeneral::SampleRate, &TGeneral::SetSampleRate));
    AddField(DisableIfftId, info(F::DisableIfft), Through(g, &TGeneral::DisableIfft, &TGeneral::SetDisableIfft));

    Group("Group delay");
    AddField(GroupDelayMaxId, info(F::GroupDelayMaximum),
             Through(g, &TGeneral::GroupDelayMaximum, &TGeneral::SetGroupDelayMaximum))
        .Refresh([&g](TField& f) { NotApplicableWhen(f, g.GroupDelayAuto()); })
        .Width(6);
    AddField(GroupDelayMinId, info(F::GroupDelayMinimum),
             Through(g, &TGeneral::GroupDelayMinimum, &TGeneral::SetGroupDelayMinimum))
        .Refresh([&g](TField& f) { NotApplicableWhen(f, g.GroupDelayAuto()); })
        .Width(6);
    AddField(GroupDelayAutoId, info(F::GroupDelayAuto),
             Through(g, &TGeneral::GroupDelayAuto, &TGeneral::SetGroupDelayAuto));

    Group("Impedance diagram");
    AddField(ImpedanceMaxId, info(F::ImpedanceMaximum),
             Through(g, &TGeneral::ImpedanceMaximum, &TGeneral::SetImpedanceMaximum))
        .Refresh([&g](TField& f) { NotApplicableWhen(f, g.ImpedanceAuto()); })
        .Width(6);
    AddField(ImpedanceAutoId, info(F::ImpedanceAuto),
             Through(g, &TGeneral::ImpedanceAuto, &TGeneral::SetImpedanceAuto));

    Group("SPL/gain diagrams");
    AddField(SplRangeId, info(F::SplRange), Through(g, &TGeneral::SplRange, &TGeneral::SetSplRange)).Width(6);
    AddField(HidePhaseId, info(F::HidePhase), Through(g, &TGeneral::HidePhase, &TGeneral::SetHidePhase));

    Group("Off axis plots", 1);
    AddList(AngleListId, "Angles", AngleItems(), 0).Rows(8).Width(6);
    AddButton(SurfaceAddId, "&Add -->");
    AddButton(SurfaceRemoveId, "&Remove").Beside();
    AddList(SurfaceListId, "Surface plot", {}, 0).Rows(8).Width(6);
    AddButton(OverlayAddId, "&Add -->");
    AddButton(OverlayRemoveId, "&Remove").Beside();
    AddList(OverlayListId, "Overlay plot", {}, 0).Rows(5).Width(6);
    AddField(FlipId, info(F::FlipUpDown), Through(g, &TGeneral::FlipUpDown, &TGeneral::SetFlipUpDown));
    AddField(HideOnAxisId, info(F::HideOnAxis), Through(g, &TGeneral::HideOnAxis, &TGeneral::SetHideOnAxis));
    AddField(InhibitId, info(F::Inhibit), Through(g, &TGeneral::Inhibit, &TGeneral::SetInhibit));
    AddRadio(PlaneId, "", {"Vertical", "Horizontal"}, 0)
        .Horizontal()
        .Bind({.read = [&g] { return g.Vertical() ? 0.0 : 1.0; },
               .write =
                   [&g](double v) {
                       g.SetVertical(v == 0.0);
                       return true;
                   }});
    AddField(DistanceId, info(F::Distance), Through(g, &TGeneral::Distance, &TGeneral::SetDistance))
        .Refresh([&g](TField& f) { NotApplicableWhen(f, g.Infinite()); })
        .Width(6);
    AddField(InfiniteId, info(F::Infinite), Through(g, &TGeneral::Infinite, &TGeneral::SetInfinite));

    Group("", 0);
    AddString(TitleId, "Title of construction", TGeneral::kMaxTitle)
        .Bind({.text = [&g] { return g.Title(); }})
        .OnChange([&g](TField& f) { g.SetTitle(f.str.Text()); })
        .Width(40);

    onLoad = [this] { FillRayLists(); };
    onCommand = [this](int id) { RayButton(id); };
    onClose = [this] {
        general_.StoreTitle(Str(TitleId).Text());
        if (general_.Dialog() == this)
            general_.SetDialog(nullptr);
    };
    FillRayLists();
}

TGeneralDialog::~TGeneralDialog()
{
    if (general_.Dialog() == this)
        general_.SetDialog(nullptr);
}

void TGeneralDialog::Show()
{
    if (!IsOpen()) {
        FillRayLists();
        general_.SetDialog(this);
    }
    Open();
}

void TGeneralDialog::FillRayLists()
{
    const auto& g = general_;
    SetItems(SurfaceListId, RayItems(g.SurfaceRays().data(), g.SurfaceRayCount()), 0);
    SetItems(OverlayListId, RayItems(g.OverlayRays().data(), g.OverlayRayCount()), 0);
    if (Selected(AngleListId) < 0)
        SetSelected(AngleListId, 0);
}

void TGeneralDialog::RayButton(int id)
{
    TGeneral& g = general_;
    // The angle a list's selected entry stands for; false when nothing is selected.
    const auto angleOf = [this, &g](int list, int& angle) {
        const int i = Selected(list);
        if (list == AngleListId) {
            if (i < 0 || i >= static_cast<int>(TGeneral::kOfferedAngles.size()))
                return false;
            angle = TGeneral::kOfferedAngles[static_cast<std::size_t>(i)];
            return true;
        }
        if (i < 0 || i >= g.SurfaceRayCount())
            return false;
        angle = g.SurfaceRay(i);
        return true;
    };
    int angle = 0;
    TRayChange result = TRayChange::NotFound;
    const char* tooMany = "";
    switch (id) {
    case SurfaceAddId:
        if (!angleOf(AngleListId, angle))
            return;
        result = g.AddSurfaceRay(angle);
        tooMany = "Maximum number of surface plot rays selected";
        break;
    case SurfaceRemoveId:
        if (!angleOf(SurfaceListId, angle))
            return;
        result = g.RemoveSurfaceRay(angle);
        break;
    case OverlayAddId:
        if (!angleOf(SurfaceListId, angle))
            return;
        result = g.AddOverlayRay(angle);
        tooMany = "Maximum number of overlay plot rays selected";
        break;
    case OverlayRemoveId:
        if (Selected(OverlayListId) < 0)
            return;
        result = g.RemoveOverlayRay(Selected(OverlayListId));
        break;
    default: return;
    }
    const char* message = nullptr;
    switch (result) {
    case TRayChange::Done: FillRayLists(); return;
    case TRayChange::TooMany: message = tooMany; break;
    case TRayChange::AlreadyThere: message = "Ray already selected"; break;
    case TRayChange::OnAxis: message = "Can not remove on axis ray"; break;
    case TRayChange::Inhibited:
    case TRayChange::NotFound: return;
    }
    Host().Message(message, "", TMsgButtons::Ok, TMsgIcon::Warning);
}
