#include "TBP5Box.h"

#include "box/TBoxPipeline.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"

using TPortNetwork::Admittance;
using TPortNetwork::Impedance;
using TPortNetwork::Parallel;
using TPortNetwork::Radiated;

const TBoxType& TBP5Box::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Bandpass box type 1",
        .cliName = "bp1",
        .menu = 4,
        .picture = 202,
        .frontAndRear = false,
        .unsupportedCommands = {},
        .roomSources = {TRoomSources::Port},
        .make = MakeBox<TBP5Box>,
    };
    return type;
}

TBP5Box::TBP5Box(THost& host, TProgramContext& context)
    : TBandpassBox(host, context, Type(),
                   TLayout{.title = "Bandpass box type 1",
                          .reportTitle = "BANDPASS BOX TYPE 1",
                          .helpFile = "bp1.txt",
                          .firstBox = "Rear box",
                          .secondBox = "Front box",
                          .firstPort = "Port",
                          .secondPort = nullptr,
                          .firstCurve = nullptr,
                          .secondCurve = nullptr,
                          .portInSecondBox = true,
                          .coupledTuning = false,
                          .tableLookup = false,
                          .quickFirstVolume = 0.5,
                          .quickSecondVolume = 0.5,
                          .quickPorts = {{2.0, 1.0, 0.0}, {0.0, 0.0, 0.0}},
                          .tableFirstShare = 1.0})
{
    Reset();
}

// The front box and the port share the chamber pressure; the rear box is in series.
void TBP5Box::BuildNetwork()
{
    const int n = PointCount();
    const double nd = front_.numberOfDrivers;
    const TBoxObject& rear = BoxVolume();
    const TBoxObject& frontBox = SecondBox();
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        loadA[j] = Parallel(frontBox.impedance[j], Impedance(Port(0), i));
        coneLoad[j] = nd * (rear.impedance[j] + loadA[j]);
    }
}

TComplex TBP5Box::PointPressure(int i, const TComplex& u, double kf)
{
    const std::size_t j = static_cast<std::size_t>(i);
    TPortObject& port = Port(0);
    const TComplex chamber = MulComplex(u * static_cast<double>(front_.numberOfDrivers), loadA[j]);
    SetPortFlow(0, i, MulComplex(chamber, Admittance(Impedance(port, i))));
    const TComplex pp = Radiated(port.volumeVelocity[j], kf);
    port.pressure[j] = pp;
    return pp;
}
