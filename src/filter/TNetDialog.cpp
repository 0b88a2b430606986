#include "filter/TNetDialog.h"

#include "filter/TNet.h"
#include "filter/TNetFields.h"

#include <cmath>

namespace {
const std::vector<std::string> kOrders = {"N=1", "N=2", "N=3", "N=4"};

// The order combo shows order - 1; order 0 selects nothing.
TFieldBinding OrderBinding(int& order)
{
    return {.read = [&order] { return static_cast<double>(order - 1); },
            .write =
                [&order](double index) {
                    if (!(index >= 0.0 && index < 4.0))
                        return false;
                    order = static_cast<int>(index) + 1;
                    return true;
                }};
}

TFieldBinding PositiveBinding(double& value)
{
    return {.read = [&value] { return value; },
            .write =
                [&value](double v) {
                    if (!std::isfinite(v))
                        return false;
                    value = v;
                    return true;
                }};
}
} // namespace

TNetDialog::TNetDialog(THost& host, TNet& net) : TDialogModel(host, net.Name(), "net_n.txt"), net_(net)
{
    menuCommand = net.NetworkCommand();
    const auto ladderL = static_cast<int>(TNetField::LadderInductor);
    const auto ladderC = static_cast<int>(TNetField::LadderCapacitor);
    const auto inductor = static_cast<int>(TCompKind::Inductor);
    const auto capacitor = static_cast<int>(TCompKind::Capacitor);
    const auto resistor = static_cast<int>(TCompKind::Resistor);
    if (net.HasLowPass()) {
        Group("Low-pass");
        AddCombo(kLowPassOrder, "Order", kOrders, -1).Bind(OrderBinding(net.lowPassOrder));
        AddField(kLowPassCutoff, NetFieldInfo(TNetField::Cutoff), PositiveBinding(net.lowPassCutoff));
        AddButton(kCalcLowPass, "Calc");
        AddComponent(kLowPassL0, 0, inductor, ladderL);
        AddComponent(kLowPassC1, 1, capacitor, ladderC);
        AddComponent(kLowPassL2, 2, inductor, ladderL);
        AddComponent(kLowPassC3, 3, capacitor, ladderC);
    }
    if (net.HasHighPass()) {
        Group("High-pass", net.HasLowPass() ? 1 : 0);
        AddCombo(kHighPassOrder, "Order", kOrders, -1).Bind(OrderBinding(net.highPassOrder));
        AddField(kHighPassCutoff, NetFieldInfo(TNetField::Cutoff), PositiveBinding(net.highPassCutoff));
        AddButton(kCalcHighPass, "Calc");
        AddComponent(kHighPassC0, 0, capacitor, ladderC);
        AddComponent(kHighPassL1, 1, inductor, ladderL);
        AddComponent(kHighPassC2, 2, capacitor, ladderC);
        AddComponent(kHighPassL3, 3, inductor, ladderL);
    }
    const int side = net.HasLowPass() && net.HasHighPass() ? 2 : 1;
    Group("Notch", side);
    AddComponent(kNotchR, TNet::kNotch, resistor, static_cast<int>(TNetField::NotchResistor));
    AddComponent(kNotchL, TNet::kNotch, inductor, static_cast<int>(TNetField::NotchInductor));
    AddComponent(kNotchC, TNet::kNotch, capacitor, static_cast<int>(TNetField::NotchCapacitor));
    Group("Attenuator", side);
    AddField(kAttenuation, NetFieldInfo(TNetField::Attenuation), PositiveBinding(net.attenuation));
    AddButton(kCalcAttenuator, "Calc");
    AddComponent(kPadSeries, TNet::kPadSeries, resistor, static_cast<int>(TNetField::PadResistor));
    AddComponent(kPadShunt, TNet::kPadShunt, resistor, static_cast<int>(TNetField::PadResistor));
    Group("Zobel", side);
    AddComponent(kZobelR, TNet::kZobel, resistor, static_cast<int>(TNetField::ZobelResistor));
    AddComponent(kZobelC, TNet::kZobel, capacitor, static_cast<int>(TNetField::ZobelCapacitor));
    AddButton(kCalcZobel, "Calc");
    Group("", 0);
    AddField(kDisconnect, NetFieldInfo(TNetField::Disconnect), BindMember(net.disconnect));
    AddOk();

    // Orders, cutoffs and the attenuation only feed the calculators; components and
    // "Disconnect" change the network at once.
    afterCommit = [this] {
        net_.MarkDirty();
        net_.Edited();
    };
    onCommand = [this](int id) {
        switch (id) {
        case kCalcLowPass: net_.CalcLowPass(); break;
        case kCalcHighPass: net_.CalcHighPass(); break;
        case kCalcAttenuator: net_.CalcAttenuator(); break;
        case kCalcZobel: net_.CalcZobel(); break;
        default: return;
        }
        net_.Edited();
        Reload();
    };
}

void TNetDialog::AddComponent(int id, int branch, int kind, int field)
{
    const auto compKind = static_cast<TCompKind>(kind);
    TBranch& b = net_.Branch(branch);
    TComp& comp = compKind == TCompKind::Resistor ? b.R() : compKind == TCompKind::Capacitor ? b.C() : b.L();
    TField& f = AddField(id, NetFieldInfo(static_cast<TNetField>(field), comp.Name().c_str()));
    const bool coil = compKind == TCompKind::Inductor;
    if (coil)
        f.TwoValue(comp.seriesResistance);
    TField* shown = &f;
    f.Bind({.read = [&comp] { return comp.value; },
            .write =
                [this, branch, compKind, coil, shown](double v) {
                    if (!std::isfinite(v) || v < 0.0)
                        return false;
                    if (coil)
                        net_.SetCoilResistance(branch, shown->dbl.SecondValue());
                    net_.SetComponentValue(branch, compKind, v);
                    return true;
                },
            .refresh =
                [&comp, coil](TField& self) {
                    if (coil)
                        self.dbl.SetSecondValue(comp.seriesResistance);
                }});
}
