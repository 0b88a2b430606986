#pragma once
// The reflex bandpass box: the only type with two driver groups. The front group
// radiates its front side into the room and its rear side into the front box, which
// the front port vents to the room; the rear group works with one side into the same
// front box and with the other into the closed rear box. The rear box has a port group
// of its own (the variovent, with an acoustic resistance) that is edited, tuned and
// stored but loads nothing yet. Both groups hang on the generator in parallel.
//
// Until a rear unit is loaded (or when the project's rear unit file is missing) the
// front group works alone: the project is then a vented box with the front box and
// front port, and the report says the rear group is missing.

#include "box/TBoxEmbryo.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortNonLinearity.h"
#include "box/elements/TPortObject.h"

class TBreflDorvelDialog;

class TBassReflexDorvelBox : public TBoxEmbryo {
public:
    static constexpr int kTypeCode = 9;
    static constexpr double kResetResistance = 1e12; // N·s/m⁵, practically closed
    static const TBoxType& Type();

    TBassReflexDorvelBox(THost& host, TProgramContext& context);
    ~TBassReflexDorvelBox() override;

    void Reset() override;
    void Calculate(int partial) override;
    void PrepareCalculation() override;
    void RefreshResults() override;
    std::vector<TCurveColumn> OwnCurves() const override;
    void RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const override;
    std::vector<TPlotXYEmbryo*> OptionalPlots() const override { return {airSpeedPlot_.get()}; }

    // The rear group takes part: its unit is complete.
    bool RearActive() const { return rear_.complete; }
    // The share of the front box each cone carries when both work into it: starting at
    // 1, four times w = |t1 + w·x| / |t2 + w·x| + 1, never above 2 (t1, t2: the cones'
    // own loads, x: the front box load of the front group). No convergence test, so
    // the cost per point is fixed.
    static double CouplingWeight(const TComplex& t1, const TComplex& t2, const TComplex& x);
    // "&Quick box": front box 1.5 · Vas_eff, rear box Vas_eff, the front port tuned to
    // fs_eff with its area from the cone area, enlarged until it is 10 cm long.
    void QuickBox();
    // After a volume or fill change: each port group tuned against its own box.
    void UpdateTunings();

    TBoxObject& FrontBox() { return BoxVolume(); }
    TBoxObject& RearBox() { return rearBox_; }
    const TBoxObject& RearBox() const { return rearBox_; }
    TPortObject& FrontPort() { return port_; }
    const TPortObject& FrontPort() const { return port_; }
    TPortObject& RearPort() { return rearPort_; }
    const TPortObject& RearPort() const { return rearPort_; }
    TPlotLogXLinY& AirSpeedPlot() { return *airSpeedPlot_; }

    // The rear port's acoustic resistance ("Ac. res."), N·s/m⁵.
    double acousticResistance = kResetResistance;
    // The coupling weight of the two cones at every point (1 .. 2; 1 without the rear group).
    TRealBlock weight{};
    TComplexBlock rearMotional{}, rearLoad{}, frontChamberLoad{}, rearChamber{};
    TRealBlock driverSpl{}, portSpl{}, portAirSpeed{};

protected:
    void BuildLoad() override;
    void BuildPressure() override;
    void BuildReport() override;
    std::unique_ptr<TDialogModel> MakeBoxDialog() override;
    [[nodiscard]] bool ReadBody(TBinaryReader& in, int version) override;
    void WriteBody(TBinaryWriter& out) const override;

private:
    // The rear cone on its load, and the input impedance of both groups in parallel.
    void CoupleRear();
    // The rear group's current, force, flow and excursion: the generator's voltage
    // without the setup's high-pass.
    void DriveRear();

    TPortNonLinearity nonLinearity_;
    TPortObject port_{"Port", nonLinearity_};
    TBoxObject rearBox_{"Rear box", true};
    TPortObject rearPort_{"Rear port/variovent", nonLinearity_};
    TLineStyle driverStyle_{TColors::Red, 1, TDash::Solid};
    TLineStyle portStyle_{TColors::Blue, 1, TDash::Solid};
    std::unique_ptr<TPlotLogXLinY> airSpeedPlot_;
};
