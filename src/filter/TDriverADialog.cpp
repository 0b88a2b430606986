#include "filter/TDriverADialog.h"

#include "filter/TNetA.h"
#include "filter/TNetFields.h"
#include "ui/THost.h"

#include <cmath>

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> DriverNames(int count)
{
    std::vector<std::string> names;
    for (int d = 1; d <= count; ++d)
        names.push_back("Driver unit " + std::to_string(d));
    return names;
}

} // namespace

std::string TDriverADialog::ShownName(const std::string& name)
{
    if (name.empty())
        return kNotInUse;
    return name.size() > kShownNameLength ? name.substr(name.size() - kShownNameLength) : name;
}

TDriverADialog::TDriverADialog(THost& host, TNetA& net)
    : TDialogModel(host, "Driver unit(s) net " + std::to_string(net.Index() + 1), "net_d.txt"), net_(net)
{
    menuCommand = 13011 + net.Index();
    TDriverGroup& group = net.Drivers();
    const auto driver = [this]() -> TDriverA& { return net_.Drivers().Driver(selected_); };
    const auto layoutChanged = [this] {
        net_.MarkDirty();
        net_.Edited();
        if (onLayoutChanged)
            onLayoutChanged();
    };

    Group("Drivers");
    AddCombo(kCount, "Drivers", {"1 driver unit", "2 driver units", "3 driver units", "4 driver units"}, 0)
        .Bind({.read = [this] { return static_cast<double>(net_.Drivers().Count() - 1); },
               .write =
                   [this](double index) {
                       if (!(index >= 0.0 && index < TDriverGroup::kDrivers))
                           return false;
                       // Pairs need four drivers; fewer fall back to series.
                       net_.Drivers().SetCount(static_cast<int>(index) + 1);
                       if (selected_ >= net_.Drivers().Count())
                           selected_ = 0;
                       return true;
                   },
               .then = layoutChanged});
    AddCombo(kSelector, "Show", DriverNames(1), 0)
        .Bind({.read = [this] { return static_cast<double>(selected_); },
               .write =
                   [this](double index) {
                       if (!(index >= 0.0 && index < net_.Drivers().Count()))
                           return false;
                       selected_ = static_cast<int>(index);
                       return true;
                   },
               // Another driver: nothing changes but what the fields show.
               .then = [this] { Reload(); },
               .refresh =
                   [this](TField& f) {
                       f.visible = net_.Drivers().Count() > 1;
                       f.items = DriverNames(net_.Drivers().Count());
                       f.selected = selected_;
                   }});
    AddRadio(kConnection, "Connection", {"Series", "Parallell", "2_2"}, 0)
        .Horizontal()
        .Bind({.read = [this] { return static_cast<double>(net_.Drivers().Connection()); },
               .write =
                   [this](double index) {
                       if (!(index >= 0.0 && index < 3.0))
                           return false;
                       return net_.Drivers().SetConnection(static_cast<TConnection>(static_cast<int>(index)));
                   },
               .then = layoutChanged,
               .refresh =
                   [this](TField& f) {
                       f.visible = net_.Drivers().Count() > 1;
                       f.itemHidden = {false, false, net_.Drivers().Count() < TDriverGroup::kDrivers};
                   }});
    AddField(kInvert, DriverFieldInfo(TDriverField::InvertPolarity), BindMember(group.invert));
    AddCombo(kSize, "Symbol size", {"Large", "Medium", "Small"}, 1)
        .Bind({.read = [this] { return static_cast<double>(net_.Drivers().size); },
               .write =
                   [this](double index) {
                       if (!(index >= 0.0 && index < 3.0))
                           return false;
                       net_.Drivers().size = static_cast<TDriverSize>(static_cast<int>(index));
                       return true;
                   }});

    Group("Driver unit");
    AddField(kRe, DriverFieldInfo(TDriverField::Re), Finite([this]() -> double& { return net_.Drivers().re; }, 0.0));
    AddField(kLe, DriverFieldInfo(TDriverField::Le), Finite([this]() -> double& { return net_.Drivers().le; }, 0.0));
    AddField(kRex, DriverFieldInfo(TDriverField::Rex), Finite([this]() -> double& { return net_.Drivers().rex; }, 0.0));

    Group("Position", 1);
    AddField(kX, DriverFieldInfo(TDriverField::X), Finite([driver]() -> double& { return driver().x; }));
    AddField(kY, DriverFieldInfo(TDriverField::Y), Finite([driver]() -> double& { return driver().y; }));
    AddField(kZ, DriverFieldInfo(TDriverField::Z), Finite([driver]() -> double& { return driver().z; }));
    AddField(kPistonRadius, DriverFieldInfo(TDriverField::PistonRadius),
             Finite([driver]() -> double& { return driver().radius; }, 0.0));

    Group("SPL data", 1);
    // Shown in dB, kept as the pressure factor the response is multiplied by.
    AddField(kSplScaling, DriverFieldInfo(TDriverField::SplScaling),
             DecibelFactor([driver]() -> double& { return driver().splScaling; }))
        .EnabledIf([driver] { return !driver().splSameAs; });
    AddButton(kSplBrowse, "Browse");
    AddFile(kSplFile, true);
    AddCheck(kSplSameAs, "", "Same as driver 1", false);

    Group("Impedance data", 1);
    AddField(kImpedanceScaling, DriverFieldInfo(TDriverField::ImpedanceScaling),
             Finite([driver]() -> double& { return driver().impedanceScaling; }, 0.0))
        .EnabledIf([driver] { return !driver().impedanceSameAs; });
    AddButton(kImpedanceBrowse, "Browse");
    AddFile(kImpedanceFile, false);
    AddCheck(kImpedanceSameAs, "", "Same as driver 1", false);
    AddOk();

    // The same-as boxes: not for driver 1, and changeable only when the driver has
    // loaded data of its own to go back to.
    for (const bool spl : {true, false}) {
        const TMeasKind kind = spl ? TMeasKind::Spl : TMeasKind::Impedance;
        Field(spl ? kSplSameAs : kImpedanceSameAs)
            .Bind({.read = [driver, spl] { return (spl ? driver().splSameAs : driver().impedanceSameAs) ? 1.0 : 0.0; },
                   .write =
                       [driver, spl](double on) {
                           (spl ? driver().splSameAs : driver().impedanceSameAs) = on != 0.0;
                           return true;
                       },
                   .enabled = [this, kind] { return net_.Drivers().Meas(selected_, kind).Loaded(); },
                   .refresh = [this](TField& f) { f.visible = selected_ > 0; }});
    }

    afterCommit = [this] {
        net_.MarkDirty();
        net_.Edited();
    };
    onCommand = [this](int id) {
        if (id == kSplBrowse || id == kImpedanceBrowse)
            Browse(id == kSplBrowse);
    };
    // The next opening shows the first driver again.
    onClose = [this] { selected_ = 0; };
}

void TDriverADialog::Browse(bool spl)
{
    const TMeasKind kind = spl ? TMeasKind::Spl : TMeasKind::Impedance;
    std::string path;
    if (!Host().ChooseOpenFile(net_.Drivers().Meas(selected_, kind).FileDialog(), path))
        return;
    // Read as a typed name is: a file that cannot be read leaves the driver as it was.
    net_.SetMeasFile(selected_, kind, path);
    net_.MarkDirty();
    net_.Edited();
    Reload();
}

void TDriverADialog::AddFile(int id, bool spl)
{
    const TMeasKind kind = spl ? TMeasKind::Spl : TMeasKind::Impedance;
    AddString(id, "File", 270)
        .Bind({.text = [this, kind] { return ShownName(net_.Drivers().FileName(selected_, kind)); }})
        .OnChange([this, kind](TField& f) {
            std::string name = Trimmed(f.str.Text());
            // Leaving the field unchanged is no new name (a long name shows only its end).
            if (name == ShownName(net_.Drivers().FileName(selected_, kind)))
                return;
            if (name == kNotInUse)
                name.clear();
            net_.SetMeasFile(selected_, kind, name);
            net_.MarkDirty();
            net_.Edited();
            Reload();
        });
}
