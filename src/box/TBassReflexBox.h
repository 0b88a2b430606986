#pragma once
// The vented enclosure: one air volume with one group of n identical ports, the
// drivers radiating their front side into the room. The port is a Helmholtz resonator
// with the box: near its tuning it takes over the radiation from the cone, whose
// excursion falls to a minimum there.

#include "box/TBoxEmbryo.h"
#include "box/TBreflAlignments.h"
#include "box/elements/TPortNonLinearity.h"
#include "box/elements/TPortObject.h"

class TBreflDialog;

class TBassReflexBox : public TBoxEmbryo {
public:
    static constexpr int kTypeCode = 1;
    static const TBoxType& Type();

    TBassReflexBox(THost& host, TProgramContext& context);
    ~TBassReflexBox() override;

    void Reset() override;
    void PrepareCalculation() override;
    void RefreshResults() override;
    std::vector<TCurveColumn> OwnCurves() const override;
    void RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const override;
    std::vector<TPlotXYEmbryo*> OptionalPlots() const override { return {airSpeedPlot_.get()}; }

    // "&Quick box": 1.5 · Vas of the drivers, the port tuned to the effective fs, its
    // area from the cone area, enlarged until the port is at least 10 cm long.
    void QuickBox();
    // The table lookup: the row of the alignment for the effective Qts gives Vb and fb
    // at box Q 3, 7 or 15 (boxQ 0, 1, 2, which also set the leakage Q and the fill);
    // the port keeps its area unless it must grow to fit. False, changing nothing,
    // without a complete unit.
    bool ApplyTableAlignment(TBreflAlignment alignment, int boxQ);
    TBreflDialog* BoxDialog() const;

    TPortObject& Port() { return port_; }
    const TPortObject& Port() const { return port_; }
    TPlotLogXLinY& AirSpeedPlot() { return *airSpeedPlot_; }
    // The first half-wave resonance of the port pipe, Hz (344.7 / (2 · L); 0 for L = 0).
    double PipeResonance() const;
    // The port's upper -3 dB point, where its output has fallen 3 dB below its peak;
    // the standing waves of the pipe show above it. 0 when there is none.
    double PortUpperMinus3dB() const;

    TRealBlock driverSpl{}, portSpl{}, portAirSpeed{};
    // The box volume and the port in parallel, as one cone sees them.
    TComplexBlock loadImpedance{};

protected:
    void BuildLoad() override;
    void BuildPressure() override;
    void BuildReport() override;
    std::unique_ptr<TDialogModel> MakeBoxDialog() override;
    [[nodiscard]] bool ReadBody(TBinaryReader& in, int version) override;
    void WriteBody(TBinaryWriter& out) const override;

private:
    // splModes: the total response with the port's pipe resonances (standing waves)
    // added to the port's share above its upper -3 dB point.
    void ComputeStandingWaves();

    TPortNonLinearity nonLinearity_;
    TPortObject port_{"Port", nonLinearity_};
    TLineStyle driverStyle_{TColors::Red, 1, TDash::Solid};
    TLineStyle portStyle_{TColors::Blue, 1, TDash::Solid};
    std::unique_ptr<TPlotLogXLinY> airSpeedPlot_;
    // The port's SPL with its standing waves (scratch of ComputeStandingWaves).
    TRealBlock portModes_{};
};
