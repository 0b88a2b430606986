#pragma once
// What the two double tuned bass reflex boxes share. The driver's front radiates into
// the room; its rear works into two chambers joined by ports, so the system has two
// tunings. Each type has a first air volume (the driver's rear chamber, kept by the
// common file body), a second one and two port groups, and differs from the other only
// in how the second chamber and the ports are connected: its network (the loads A and
// B and the port flows) and the middle coefficient of the coupled tuning.
//
// Everything here walks the elements as first and second; the names follow from the
// layout: type 1's first volume and port are the rear box and rear port, type 2's the
// front box and front port (its second volume is the closed rear box).

#include "box/TBoxEmbryo.h"
#include "box/TPortNetwork.h"
#include "box/elements/TPortNonLinearity.h"

#include <memory>
#include <vector>

class TBoxObject;
class TPortObject;

class TDoubleTunedBox : public TBoxEmbryo {
public:
    // What makes a type differ besides its network.
    struct TLayout {
        bool firstIsRear;        // type 1: rear box and rear port come first
        const char* reportTitle; // "DOUBLE TUNED BASSREFLEX BOX 1"
        const char* helpFile;    // "brefldt1.txt"
    };

    ~TDoubleTunedBox() override;

    void Reset() override;
    void PrepareCalculation() override;
    void RefreshResults() override;
    std::vector<TCurveColumn> OwnCurves() const override;
    void RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const override;
    std::vector<TPlotXYEmbryo*> OptionalPlots() const override;

    const TLayout& Layout() const { return layout_; }
    TBoxObject& SecondBox() { return *secondBox_; }
    const TBoxObject& SecondBox() const { return *secondBox_; }
    TPortObject& FirstPort() { return *firstPort_; }
    const TPortObject& FirstPort() const { return *firstPort_; }
    TPortObject& SecondPort() { return *secondPort_; }
    const TPortObject& SecondPort() const { return *secondPort_; }
    // The elements by the names the dialog's groups carry.
    TBoxObject& RearBox() { return layout_.firstIsRear ? BoxVolume() : SecondBox(); }
    TBoxObject& FrontBox() { return layout_.firstIsRear ? SecondBox() : BoxVolume(); }
    TPortObject& RearPort() { return layout_.firstIsRear ? FirstPort() : SecondPort(); }
    TPortObject& FrontPort() { return layout_.firstIsRear ? SecondPort() : FirstPort(); }
    const TPortObject& FrontPort() const { return layout_.firstIsRear ? SecondPort() : FirstPort(); }
    TPlotLogXLinY& AirSpeedPlot() { return *airSpeedPlot_; }

    // Both port tunings from the coupled two-chamber system (the first port takes the
    // lower one), and each port's tuning volume set back from its tuning, so the port
    // reports what the system does. The dialog runs it after every change.
    void UpdateCoupledTuning();
    // "&Quick box": the first volume nd · Vas and the second half of it; the first
    // port fs_eff · 0.004 · Sd · nd / n in area and 20 cm long, the second twice that
    // area and 10 cm long. A closed second box is also filled and damped (100 %,
    // Qb 3). No length is solved; the tunings follow from the coupled system.
    void QuickBox();

    // Per point: driver SPL and radiated front port SPL (dB), and the air speed of the
    // first and second port groups (m/s), after compression.
    TRealBlock driverSpl{}, frontPortSpl{}, firstPortSpeed{}, secondPortSpeed{};
    // The network's loads (Pa·s/m³): A is what one cone sees behind it; B is the
    // intermediate load each type needs for its port flows.
    TComplexBlock loadA{}, loadB{};

protected:
    TDoubleTunedBox(THost& host, TProgramContext& context, const TBoxType& type, const TLayout& layout);

    // A and B at every grid point from the element impedances (once per calculation:
    // the passes change only the driver).
    virtual void BuildNetwork() = 0;
    // The port flows at point i from the rear flow of all cones (nd · U), each set
    // with SetPortFlow; returns the front port's flow.
    virtual TComplex PortFlows(int i, const TComplex& coneFlow) = 0;
    // b of (M1·M2·C1·C2)·x² + b·x + 1 = 0, whose roots x are the squared angular
    // frequencies of the two tunings (M: acoustic masses of the ports, C: compliances
    // of the volumes, first and second).
    virtual double TuningCoefficient(double m1, double m2, double c1, double c2) const = 0;

    void BuildLoad() override;
    void BuildPressure() override;
    void BuildReport() override;
    std::unique_ptr<TDialogModel> MakeBoxDialog() override;
    [[nodiscard]] bool ReadBody(TBinaryReader& in, int version) override;
    void WriteBody(TBinaryWriter& out) const override;

    // Zp[i] of a port; infinite for a port without cross-section, which is closed.
    static TComplex PortImpedance(const TPortObject& port, int i) { return TPortNetwork::Impedance(port, i); }
    // 1 / z, and 0 for an infinite z (a closed port, or one behind it).
    static TComplex Admittance(const TComplex& z) { return TPortNetwork::Admittance(z); }
    // The port's flow at i through the compression of these boxes (their ports have no
    // flare, so the limit is fixed), with its air speed kept in speed[i]. Returns the
    // flow after compression.
    TComplex SetPortFlow(TPortObject& port, TRealBlock& speed, int i, const TComplex& flow);

private:
    TLayout layout_;
    TPortNonLinearity portNonLinearity_;
    std::unique_ptr<TBoxObject> secondBox_;
    std::unique_ptr<TPortObject> firstPort_, secondPort_;
    std::unique_ptr<TPlotLogXLinY> airSpeedPlot_;
    TLineStyle thickGreen_{TColors::Green, 3, TDash::Solid};
};
