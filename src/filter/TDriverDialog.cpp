#include "filter/TDriverDialog.h"

#include "filter/TNet.h"
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

} // namespace

TDriverDialog::TDriverDialog(THost& host, TNet& net) : TDialogModel(host, net.DriverCaption(), "net_d.txt"), net_(net)
{
    menuCommand = net.DriverCommand();
    const auto driver = [this]() -> TNetDriver& { return net_.Driver(selected_); };
    const auto twoOnly = [this](TField& f) { f.visible = net_.driverCount == 2; };

    Group("Drivers");
    AddCombo(kCount, "Drivers", {"1 driver unit", "2 driver units"}, 0)
        .Bind({.read = [this] { return static_cast<double>(net_.driverCount - 1); },
               .write =
                   [this](double index) {
                       if (!(index >= 0.0 && index < 2.0))
                           return false;
                       net_.driverCount = static_cast<int>(index) + 1;
                       if (net_.driverCount == 1)
                           selected_ = 0;
                       return true;
                   }});
    AddCombo(kSelector, "Show", {"Driver unit 1", "Driver unit 2"}, 0)
        .Bind({.read = [this] { return static_cast<double>(selected_); },
               .write =
                   [this](double index) {
                       if (!(index >= 0.0 && index < 2.0))
                           return false;
                       selected_ = static_cast<int>(index);
                       return true;
                   },
               .then = [this] { LoadBoundFields(); },
               .refresh = twoOnly});
    AddRadio(kConnection, "Connection", {"Series", "Parallell"}, 1)
        .Horizontal()
        .Bind({.read = [this] { return net_.seriesConnection ? 0.0 : 1.0; },
               .write =
                   [this](double index) {
                       if (!(index >= 0.0 && index < 2.0))
                           return false;
                       net_.seriesConnection = index < 1.0;
                       return true;
                   },
               .refresh = twoOnly});
    AddField(kInvert, DriverFieldInfo(TDriverField::InvertPolarity), BindMember(net.invertPolarity));

    Group("Driver unit");
    AddField(kRe, DriverFieldInfo(TDriverField::Re), Finite([this]() -> double& { return net_.re; }, 0.0));
    AddField(kLe, DriverFieldInfo(TDriverField::Le), Finite([this]() -> double& { return net_.le; }, 0.0));
    AddField(kRex, DriverFieldInfo(TDriverField::Rex), Finite([this]() -> double& { return net_.rex; }, 0.0));

    Group("Position", 1);
    AddField(kX, DriverFieldInfo(TDriverField::X), Finite([driver]() -> double& { return driver().x; }));
    AddField(kY, DriverFieldInfo(TDriverField::Y), Finite([driver]() -> double& { return driver().y; }));
    AddField(kZ, DriverFieldInfo(TDriverField::Z), Finite([driver]() -> double& { return driver().z; }));
    AddField(kPistonRadius, DriverFieldInfo(TDriverField::PistonRadius),
             Finite([driver]() -> double& { return driver().pistonRadius; }, 0.0));

    Group("SPL data", 1);
    // Shown in dB, kept as the pressure factor the response is multiplied by.
    AddField(kSplScaling, DriverFieldInfo(TDriverField::SplScaling),
             DecibelFactor([driver]() -> double& { return driver().splScaling; }));
    AddButton(kSplBrowse, "Browse");
    AddFile(kSplFile, true);

    Group("Impedance data", 1);
    AddField(kImpedanceScaling, DriverFieldInfo(TDriverField::ImpedanceScaling),
             Finite([driver]() -> double& { return driver().impedanceScaling; }, 0.0));
    AddButton(kImpedanceBrowse, "Browse");
    AddFile(kImpedanceFile, false);
    AddOk();

    afterCommit = [this] {
        net_.MarkDirty();
        net_.Edited();
    };
    onCommand = [this](int id) {
        if (id != kSplBrowse && id != kImpedanceBrowse)
            return;
        const bool spl = id == kSplBrowse;
        TNetDriver& d = net_.Driver(selected_);
        std::string path;
        if (!Host().ChooseOpenFile((spl ? d.spl : d.impedance).FileDialog(), path))
            return;
        // Read as a typed name is: a file that cannot be read leaves the driver as it was.
        net_.SetMeasFile(selected_, spl ? TMeasKind::Spl : TMeasKind::Impedance, path);
        net_.Edited();
        Reload();
    };
}

void TDriverDialog::LoadBoundFields() { Reload(); }

void TDriverDialog::AddFile(int id, bool spl)
{
    const auto data = [this, spl]() -> TMeasData& {
        TNetDriver& d = net_.Driver(selected_);
        return spl ? d.spl : d.impedance;
    };
    AddString(id, "File", TMeasData::kMaxFileName)
        .Bind({.text = [data] { return data().FileName().empty() ? std::string(kNotInUse) : data().FileName(); }})
        .OnChange([this, spl](TField& f) {
            std::string name = Trimmed(f.str.Text());
            if (name == kNotInUse)
                name.clear();
            net_.SetMeasFile(selected_, spl ? TMeasKind::Spl : TMeasKind::Impedance, name);
            net_.Edited();
            Reload();
        });
}
