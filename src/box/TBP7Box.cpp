#include "TBP7Box.h"

#include "box/TBoxPipeline.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"

using TPortNetwork::Admittance;
using TPortNetwork::Impedance;
using TPortNetwork::Parallel;
using TPortNetwork::Radiated;

const TBoxType& TBP7Box::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Bandpass box type 3",
        .cliName = "bp3",
        .menu = 4,
        .picture = 204,
        .frontAndRear = false,
        .unsupportedCommands = {},
        .roomSources = {TRoomSources::FrontPort, TRoomSources::RearPort},
        .roomGroups = {TRoomSources::RearPort, TRoomSources::FrontPort},
        .make = MakeBox<TBP7Box>,
    };
    return type;
}

TBP7Box::TBP7Box(THost& host, TProgramContext& context)
    : TBandpassBox(host, context, Type(),
                   TLayout{.title = "Bandpass box type 3",
                          .reportTitle = "BANDPASS BOX TYPE 3",
                          .helpFile = "bp3.txt",
                          .firstBox = "Rear box",
                          .secondBox = "Front box",
                          .firstPort = "Rear port",
                          .secondPort = "Front port",
                          .firstCurve = "Rear port",
                          .secondCurve = "Front port",
                          .portInSecondBox = false,
                          .coupledTuning = false,
                          .tableLookup = true,
                          .quickFirstVolume = 0.3333333333333333,
                          .quickSecondVolume = 0.35714285714285715,
                          .quickPorts = {{1.0, 1.0, 0.0}, {2.0, 1.0, 0.0}},
                          .tableFirstShare = 1.0})
{
    Reset();
}

void TBP7Box::Reset()
{
    TBandpassBox::Reset();
    Port(0).L = 2.0 * Port(1).L;
    UpdateTuning();
}

// Two chambers of exactly the same volume are told apart.
void TBP7Box::SeparateVolumes()
{
    if (SecondBox().Vb == BoxVolume().Vb) {
        SecondBox().Vb *= 1.001;
        SecondBox().dirty = true;
    }
}

// A: the front box with its port; B: the rear box with its port; the cone between.
void TBP7Box::BuildNetwork()
{
    const int n = PointCount();
    const double nd = front_.numberOfDrivers;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        loadA[j] = Parallel(SecondBox().impedance[j], Impedance(Port(1), i));
        loadB[j] = Parallel(BoxVolume().impedance[j], Impedance(Port(0), i));
        coneLoad[j] = nd * (loadA[j] + loadB[j]);
    }
}

TComplex TBP7Box::PointPressure(int i, const TComplex& u, double kf)
{
    const std::size_t j = static_cast<std::size_t>(i);
    const TComplex flow = u * static_cast<double>(front_.numberOfDrivers);
    TPortObject& rearPort = Port(0);
    TPortObject& frontPort = Port(1);
    SetPortFlow(0, i, MulComplex(MulComplex(flow, loadB[j]), Admittance(Impedance(rearPort, i))));
    const TComplex prp = Radiated(rearPort.volumeVelocity[j], kf);
    rearPort.pressure[j] = prp;
    if (PortLevels())
        firstSpl[j] = TBoxPipeline::LevelOf(prp);
    SetPortFlow(1, i, MulComplex(MulComplex(flow, loadA[j]), Admittance(Impedance(frontPort, i))));
    const TComplex pfp = Radiated(frontPort.volumeVelocity[j], kf);
    frontPort.pressure[j] = pfp;
    if (PortLevels())
        secondSpl[j] = TBoxPipeline::LevelOf(pfp);
    // The cone pushes into one box while it pulls from the other.
    return pfp - prp;
}
