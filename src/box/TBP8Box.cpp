#include "TBP8Box.h"

#include "box/TBoxPipeline.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"

using TPortNetwork::Admittance;
using TPortNetwork::Impedance;
using TPortNetwork::Parallel;
using TPortNetwork::Radiated;

const TBoxType& TBP8Box::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Bandpass box type 4",
        .cliName = "bp4",
        .menu = 4,
        .picture = 205,
        .frontAndRear = false,
        .unsupportedCommands = {},
        .roomSources = {TRoomSources::SidePorts, TRoomSources::MiddlePort},
        .make = MakeBox<TBP8Box>,
    };
    return type;
}

TBP8Box::TBP8Box(THost& host, TProgramContext& context)
    : TBandpassBox(host, context, Type(),
                   TLayout{.title = "Bandpass box type 4",
                          .reportTitle = "BANDPASS BOX TYPE 4",
                          .helpFile = "bp4.txt",
                          .firstBox = "Side boxes",
                          .secondBox = "Middle box",
                          .firstPort = "Side ports",
                          .secondPort = "Middle port",
                          .firstCurve = "Side ports",
                          .secondCurve = "Middle port",
                          .portInSecondBox = false,
                          .coupledTuning = false,
                          .tableLookup = true,
                          .quickFirstVolume = 0.16666666666666666,
                          .quickSecondVolume = 0.35714285714285715,
                          .quickPorts = {{1.0, 0.5, 0.0}, {2.0, 1.0, 0.0}},
                          .tableFirstShare = 0.5})
{
    Reset();
}

void TBP8Box::Reset()
{
    TBandpassBox::Reset();
    Port(0).L = 2.0 * Port(1).L;
    front_.SetNumberOfDrivers(2);
    UpdateTuning();
}

// The middle box is moved off the volumes its network cannot tell apart from the sides.
void TBP8Box::SeparateVolumes()
{
    const double vs = BoxVolume().Vb, vm = SecondBox().Vb;
    if (2.0 * vs == vm || vm == vs) {
        SecondBox().Vb *= 1.001;
        SecondBox().dirty = true;
    }
}

TComplex TBP8Box::DriverPressure(const TComplex& u, double kf) const
{
    return TPortNetwork::Radiated(u * (0.5 * front_.numberOfDrivers), kf);
}

// A: the middle box with its port; B: one side box with its port. Each driver works
// into the middle box and one side, and the side elements describe one side.
void TBP8Box::BuildNetwork()
{
    const int n = PointCount();
    const double nd = front_.numberOfDrivers;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        loadA[j] = Parallel(SecondBox().impedance[j], Impedance(Port(1), i));
        loadB[j] = Parallel(BoxVolume().impedance[j], Impedance(Port(0), i));
        coneLoad[j] = 0.5 * nd * (2.0 * loadA[j] + loadB[j]);
    }
}

TComplex TBP8Box::PointPressure(int i, const TComplex& u, double kf)
{
    const std::size_t j = static_cast<std::size_t>(i);
    const TComplex flow = u * static_cast<double>(front_.numberOfDrivers);
    TPortObject& sidePorts = Port(0);
    TPortObject& middlePort = Port(1);
    // The flow of one side; both sides radiate.
    SetPortFlow(0, i, 0.5 * MulComplex(MulComplex(flow, loadB[j]), Admittance(Impedance(sidePorts, i))));
    const TComplex psp = Radiated(sidePorts.volumeVelocity[j], 2.0 * kf);
    sidePorts.pressure[j] = psp;
    if (PortLevels())
        firstSpl[j] = TBoxPipeline::LevelOf(psp);
    SetPortFlow(1, i, MulComplex(MulComplex(flow, loadA[j]), Admittance(Impedance(middlePort, i))));
    const TComplex pmp = Radiated(middlePort.volumeVelocity[j], kf);
    middlePort.pressure[j] = pmp;
    if (PortLevels())
        secondSpl[j] = TBoxPipeline::LevelOf(pmp);
    return pmp - psp;
}
