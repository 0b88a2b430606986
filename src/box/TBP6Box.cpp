#include "TBP6Box.h"

#include "box/TBoxPipeline.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"

using TPortNetwork::Admittance;
using TPortNetwork::Impedance;
using TPortNetwork::Parallel;
using TPortNetwork::Radiated;

const TBoxType& TBP6Box::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Bandpass box type 2",
        .cliName = "bp2",
        .menu = 4,
        .picture = 203,
        .frontAndRear = false,
        .unsupportedCommands = {},
        .roomSources = {TRoomSources::FrontPort},
        .make = MakeBox<TBP6Box>,
    };
    return type;
}

TBP6Box::TBP6Box(THost& host, TProgramContext& context)
    : TBandpassBox(host, context, Type(),
                   TLayout{.title = "Bandpass box type 2",
                          .reportTitle = "BANDPASS BOX TYPE 2",
                          .helpFile = "bp2.txt",
                          .firstBox = "Rear box",
                          .secondBox = "Front box",
                          .firstPort = "Rear port",
                          .secondPort = "Front port",
                          .firstCurve = "Driver",
                          .secondCurve = "Rear port",
                          .portInSecondBox = false,
                          .coupledTuning = true,
                          .tableLookup = false,
                          .quickFirstVolume = 1.0,
                          .quickSecondVolume = 0.5,
                          .quickPorts = {{0.0, 1.0, 0.2}, {0.0, 2.0, 0.1}},
                          .tableFirstShare = 1.0})
{
    Reset();
}

// A: the front box with its port; B: the rear port across the cone, in parallel with
// the rear box in series with A.
void TBP6Box::BuildNetwork()
{
    const int n = PointCount();
    const double nd = front_.numberOfDrivers;
    const TBoxObject& rear = BoxVolume();
    const TBoxObject& frontBox = SecondBox();
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        loadA[j] = Parallel(frontBox.impedance[j], Impedance(Port(1), i));
        loadB[j] = Parallel(Impedance(Port(0), i), rear.impedance[j] + loadA[j]);
        coneLoad[j] = nd * loadB[j];
    }
}

TComplex TBP6Box::PointPressure(int i, const TComplex& u, double kf)
{
    const std::size_t j = static_cast<std::size_t>(i);
    TPortObject& rearPort = Port(0);
    TPortObject& frontPort = Port(1);
    TComplex cone = MulComplex(u * static_cast<double>(front_.numberOfDrivers), loadB[j]);
    // A compressed rear port lowers the pressure across the cone alike.
    cone = cone * SetPortFlow(0, i, MulComplex(cone, Admittance(Impedance(rearPort, i))));
    const TComplex through = MulComplex(cone, Admittance(BoxVolume().impedance[j] + loadA[j]));
    const TComplex chamber = MulComplex(through, loadA[j]);
    SetPortFlow(1, i, MulComplex(chamber, Admittance(Impedance(frontPort, i))));
    const TComplex urp = rearPort.volumeVelocity[j], ufp = frontPort.volumeVelocity[j];
    const TComplex prp = Radiated(urp, kf);
    rearPort.pressure[j] = prp;
    if (PortLevels()) {
        firstSpl[j] = TBoxPipeline::LevelOf(Radiated(urp + ufp, kf));
        secondSpl[j] = TBoxPipeline::LevelOf(prp);
    }
    const TComplex pfp = Radiated(ufp, kf);
    frontPort.pressure[j] = pfp;
    return pfp;
}
