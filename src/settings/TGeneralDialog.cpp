#include "settings/TGeneralDialog.h"

#include "settings/TGeneral.h"
#include "settings/TGeneralFields.h"
#include "ui/THost.h"

#include <cmath>
#include <optional>
#include <string>
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

// A switch bound to a getter and a setter of the settings.
TFieldBinding Switch(TGeneral& g, bool (TGeneral::*get)() const, void (TGeneral::*set)(bool))
{
    return {.read = [&g, get] { return (g.*get)() ? 1.0 : 0.0; },
            .write = [&g, set](double v) {
                (g.*set)(v != 0.0);
                return true;
            }};
}

// A choice list bound to a whole-number setting: the entry of the value, the value of
// the entry.
TFieldBinding Choice(const TGeneralChoice& choice, std::function<int()> get, std::function<void(int)> set)
{
    return {.read = [&choice, get] { return static_cast<double>(choice.IndexOf(get())); },
            .write = [&choice, set](double index) {
                const int value = choice.ValueAt(static_cast<int>(index));
                if (value == 0)
                    return false;
                set(value);
                return true;
            }};
}

std::vector<std::string> RayItems(const std::int16_t* rays, int count)
{
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i)
        items.push_back(RayText(rays[i]));
    return items;
}

std::vector<std::string> AngleItems()
{
    std::vector<std::string> items;
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
          Choice(LowerFrequencyChoice(), [&g] { return g.LowerFrequency(); }, [&g](int v) { g.SetLowerFrequency(v); }));
    combo(UpperId, UpperFrequencyChoice(),
          Choice(UpperFrequencyChoice(), [&g] { return g.UpperFrequency(); }, [&g](int v) { g.SetUpperFrequency(v); }));

    Group("IFFT (impulse response)");
    combo(PointsId, PointsChoice(),
          Choice(PointsChoice(), [&g] { return g.TransformSize() / 2; }, [&g](int v) { (void)g.SetPoints(v); }));
    combo(SampleRateId, SampleRateChoice(),
          Choice(SampleRateChoice(), [&g] { return g.SampleRate(); }, [&g](int v) { g.SetSampleRate(v); }));
    AddField(DisableIfftId, info(F::DisableIfft), Switch(g, &TGeneral::DisableIfft, &TGeneral::SetDisableIfft));

    Group("Group delay");
    AddField(GroupDelayMaxId, info(F::GroupDelayMaximum),
             {.read = [&g] { return g.GroupDelayMaximum(); },
              .write = [&g](double v) {
                  g.SetGroupDelayMaximum(v);
                  return true;
              }})
        .Refresh([&g](TField& f) { NotApplicableWhen(f, g.GroupDelayAuto()); })
        .Width(6);
    AddField(GroupDelayMinId, info(F::GroupDelayMinimum),
             {.read = [&g] { return g.GroupDelayMinimum(); },
              .write = [&g](double v) {
                  g.SetGroupDelayMinimum(v);
                  return true;
              }})
        .Refresh([&g](TField& f) { NotApplicableWhen(f, g.GroupDelayAuto()); })
        .Width(6);
    AddField(GroupDelayAutoId, info(F::GroupDelayAuto),
             Switch(g, &TGeneral::GroupDelayAuto, &TGeneral::SetGroupDelayAuto));

    Group("Impedance diagram");
    AddField(ImpedanceMaxId, info(F::ImpedanceMaximum),
             {.read = [&g] { return static_cast<double>(g.ImpedanceMaximum()); },
              .write = [&g](double v) {
                  g.SetImpedanceMaximum(static_cast<int>(std::lround(v)));
                  return true;
              }})
        .Refresh([&g](TField& f) { NotApplicableWhen(f, g.ImpedanceAuto()); })
        .Width(6);
    AddField(ImpedanceAutoId, info(F::ImpedanceAuto), Switch(g, &TGeneral::ImpedanceAuto, &TGeneral::SetImpedanceAuto));

    Group("SPL/gain diagrams");
    AddField(SplRangeId, info(F::SplRange),
             {.read = [&g] { return static_cast<double>(g.SplRange()); },
              .write = [&g](double v) {
                  g.SetSplRange(static_cast<int>(std::lround(v)));
                  return true;
              }})
        .Width(6);
    AddField(HidePhaseId, info(F::HidePhase), Switch(g, &TGeneral::HidePhase, &TGeneral::SetHidePhase));

    Group("Off axis plots", 1);
    AddList(AngleListId, "Angles", AngleItems(), 0).Rows(8).Width(6);
    AddButton(SurfaceAddId, "&Add -->");
    AddButton(SurfaceRemoveId, "&Remove").Beside();
    AddList(SurfaceListId, "Surface plot", {}, 0).Rows(8).Width(6);
    AddButton(OverlayAddId, "&Add -->");
    AddButton(OverlayRemoveId, "&Remove").Beside();
    AddList(OverlayListId, "Overlay plot", {}, 0).Rows(5).Width(6);
    AddField(FlipId, info(F::FlipUpDown), Switch(g, &TGeneral::FlipUpDown, &TGeneral::SetFlipUpDown));
    AddField(HideOnAxisId, info(F::HideOnAxis), Switch(g, &TGeneral::HideOnAxis, &TGeneral::SetHideOnAxis));
    AddField(InhibitId, info(F::Inhibit), Switch(g, &TGeneral::Inhibit, &TGeneral::SetInhibit));
    AddRadio(PlaneId, "", {"Vertical", "Horizontal"}, 0)
        .Horizontal()
        .Bind({.read = [&g] { return g.Vertical() ? 0.0 : 1.0; },
               .write = [&g](double v) {
                   g.SetVertical(v == 0.0);
                   return true;
               }});
    AddField(DistanceId, info(F::Distance),
             {.read = [&g] { return g.Distance(); },
              .write = [&g](double v) {
                  g.SetDistance(v);
                  return true;
              }})
        .Refresh([&g](TField& f) { NotApplicableWhen(f, g.Infinite()); })
        .Width(6);
    AddField(InfiniteId, info(F::Infinite), Switch(g, &TGeneral::Infinite, &TGeneral::SetInfinite));

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
