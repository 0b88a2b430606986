#include "TBassReflexDT2Box.h"

#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"
#include "ui/TCommandIds.h"

const TBoxType& TBassReflexDT2Box::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Double tuned bassreflex box type 2",
        .cliName = "dt2",
        .menu = 4,
        .picture = 208,
        .frontAndRear = false,
        .unsupportedCommands = {TCmd::ExportModesSpl},
        .roomSources = {TRoomSources::DriverUnits, TRoomSources::FrontPort},
        .make = MakeBox<TBassReflexDT2Box>,
    };
    return type;
}

TBassReflexDT2Box::TBassReflexDT2Box(THost& host, TProgramContext& context)
    : TDoubleTunedBox(host, context, Type(), TLayout{false, "DOUBLE TUNED BASSREFLEX BOX 2", "brefldt2.txt"})
{
    Reset();
}

// Three branches from the driver's chamber: the front box Zf itself, the front port
// Zfp to the room, and the rear port Zrp in series with the closed rear box Zr (B).
void TBassReflexDT2Box::BuildNetwork()
{
    const int n = PointCount();
    const TBoxObject& frontBox = BoxVolume();
    const TBoxObject& rearBox = SecondBox();
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const TComplex b = rearBox.impedance[j] + PortImpedance(SecondPort(), i);
        loadB[j] = b;
        loadA[j] = DivComplex(1.0, DivComplex(1.0, frontBox.impedance[j]) + Admittance(b) +
                                       Admittance(PortImpedance(FirstPort(), i)));
    }
}

TComplex TBassReflexDT2Box::PortFlows(int i, const TComplex& coneFlow)
{
    const std::size_t j = static_cast<std::size_t>(i);
    const TComplex chamber = MulComplex(coneFlow, loadA[j]);
    SetPortFlow(SecondPort(), secondPortSpeed, i, MulComplex(chamber, Admittance(loadB[j])));
    return SetPortFlow(FirstPort(), firstPortSpeed, i, MulComplex(chamber, Admittance(PortImpedance(FirstPort(), i))));
}

double TBassReflexDT2Box::TuningCoefficient(double m1, double m2, double c1, double c2) const
{
    return -(m1 * (c1 + c2) + m2 * c2);
}
