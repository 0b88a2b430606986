#include "TBassReflexDTBox.h"

#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"
#include "ui/TCommandIds.h"

const TBoxType& TBassReflexDTBox::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "Double tuned bassreflex box type 1",
        .cliName = "dt1",
        .menu = 4,
        .picture = 207,
        .frontAndRear = false,
        .unsupportedCommands = {TCmd::ExportModesSpl},
        .roomSources = {TRoomSources::DriverUnits, TRoomSources::FrontPort},
        .make = MakeBox<TBassReflexDTBox>,
    };
    return type;
}

TBassReflexDTBox::TBassReflexDTBox(THost& host, TProgramContext& context)
    : TDoubleTunedBox(host, context, Type(), TLayout{true, "DOUBLE TUNED BASSREFLEX BOX 1", "brefldt1.txt"})
{
    Reset();
}

// Rear box Zr in parallel with the rear port Zrp leading into the front box, where
// the front box Zf and the front port Zfp share the flow (B).
void TBassReflexDTBox::BuildNetwork()
{
    const int n = PointCount();
    const TBoxObject& rearBox = BoxVolume();
    const TBoxObject& frontBox = SecondBox();
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const TComplex b = DivComplex(1.0, DivComplex(1.0, frontBox.impedance[j]) +
                                               Admittance(PortImpedance(SecondPort(), i)));
        loadB[j] = b;
        loadA[j] = DivComplex(1.0,
                              DivComplex(1.0, rearBox.impedance[j]) + Admittance(PortImpedance(FirstPort(), i) + b));
    }
}

TComplex TBassReflexDTBox::PortFlows(int i, const TComplex& coneFlow)
{
    const std::size_t j = static_cast<std::size_t>(i);
    const TComplex rearPressure = MulComplex(coneFlow, loadA[j]);
    const TComplex rearFlow = SetPortFlow(
        FirstPort(), firstPortSpeed, i, MulComplex(rearPressure, Admittance(PortImpedance(FirstPort(), i) + loadB[j])));
    // The compressed rear flow is what drives the front chamber.
    const TComplex frontPressure = MulComplex(rearFlow, loadB[j]);
    return SetPortFlow(SecondPort(), secondPortSpeed, i,
                       MulComplex(frontPressure, Admittance(PortImpedance(SecondPort(), i))));
}

double TBassReflexDTBox::TuningCoefficient(double m1, double m2, double c1, double c2) const
{
    return -(m2 * (c1 + c2) + m1 * c1);
}
