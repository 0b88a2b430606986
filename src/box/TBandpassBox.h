#pragma once
// What the four bandpass boxes share. The driver sits inside the enclosure and radiates
// only into its chambers; sound leaves through ports alone, so the response is a band
// pass. Each type has a first air volume ("Rear box" or "Side boxes", kept by the common
// file body), a second one ("Front box" or "Middle box") and one or two port groups,
// and differs from the others in its acoustic network: the loads it builds once per
// calculation and the flows and pressures it takes from the cone at every point.
//
// The base holds the elements, the curves and windows (port air speeds, the
// standing-wave window), the pair of -3 dB points, the report, the quick box and the
// table lookup (both described per type by TLayout), the dialog and the file body.

#include "box/TBoxEmbryo.h"
#include "box/TMinus3dBPair.h"
#include "box/TPortNetwork.h"
#include "box/elements/TPortNonLinearity.h"

#include <array>
#include <memory>
#include <vector>

class TBoxObject;
class TPortObject;

class TBandpassBox : public TBoxEmbryo {
public:
    // How "&Quick box" sets one port group: tuned to tuning · fs_eff and sized by the
    // sizing rule with area factor, or (tuning 0) given the fixed length and an area of
    // area · fs_eff · 0.004 · Sd · nd / n, the tuning following from the system.
    struct TQuickPort {
        double tuning;
        double factor;
        double fixedLength;
    };
    // What makes a type differ besides its network.
    struct TLayout {
        const char* title;        // "Bandpass box type 1": dialog title
        const char* reportTitle;  // "BANDPASS BOX TYPE 1"
        const char* helpFile;     // "bp1.txt"
        const char* firstBox;     // "Rear box"
        const char* secondBox;    // "Front box"
        const char* firstPort;    // "Port" for type 1, its only port
        const char* secondPort;   // nullptr for type 1
        const char* firstCurve;   // the SPL plot's port curves; nullptr for none
        const char* secondCurve;
        bool portInSecondBox;     // type 1: its port tunes against the front box
        bool coupledTuning;       // type 2: the ports' tunings follow from the system
        bool tableLookup;         // the alignment table of types 3 and 4
        // Quick box: the volumes as shares of Vas_eff, then each port group.
        double quickFirstVolume, quickSecondVolume;
        TQuickPort quickPorts[2];
        // Table lookup: the first volume's share of Vas · kr (type 4 keeps one side).
        double tableFirstShare;
    };

    ~TBandpassBox() override;

    void Reset() override;
    void PrepareCalculation() override;
    void RefreshResults() override;
    void RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const override;
    std::vector<TCurveColumn> OwnCurves() const override;
    std::vector<TPlotXYEmbryo*> OptionalPlots() const override;
    TPlotXYEmbryo* CommonBodyPlot() const override;

    const TLayout& Layout() const { return layout_; }
    int PortCount() const { return layout_.secondPort ? 2 : 1; }
    TBoxObject& FirstBox() { return BoxVolume(); }
    TBoxObject& SecondBox() { return *secondBox_; }
    const TBoxObject& SecondBox() const { return *secondBox_; }
    // Port group k (0 or 1, in file and report order).
    TPortObject& Port(int k) { return *ports_[static_cast<std::size_t>(k)]; }
    const TPortObject& Port(int k) const { return *ports_[static_cast<std::size_t>(k)]; }
    // The box port group k opens from (and, but for type 2's rear port, tunes against).
    TBoxObject& BoxOf(int k);
    TPlotLogXLinY& AirSpeedPlot() { return *airSpeedPlot_; }
    TPlotLogXLinY& ModesPlot() { return *modesPlot_; }
    const TMinus3dBPair& Minus3dBPair() const { return minus3dBPair_; }

    // Sets the ports' tunings from the boxes as the type's rule has it. The dialog runs
    // it after every change, so the tuning fields show what will be calculated.
    virtual void UpdateTuning();
    // "&Quick box" as the layout describes it.
    void QuickBox();
    // "By &table lookup..." of types 3 and 4: one row of the alignment table chosen by
    // the effective Qts. Returns the row taken, -1 when nothing was done.
    int TableLookup();
    // The table lookup of type 1: the rear box gives the system total Q qbc with the
    // effective driver, the front box (2 · g · Qts_eff)² · Vas_eff, both with Qb 15, and
    // the port tunes the front box to qbc · fs_eff / Qts_eff. False, changing nothing,
    // when the rear box cannot reach qbc (or without a complete unit).
    bool ApplyRearQTable(double qbc, double g);
    // The alignment table's row for a total Q (row 0 from 1.437 up, row 74 at 0.146
    // and below).
    static int TableRow(double qts);
    struct TAlignment {
        float qts, hf, hr, kf, kr;
    };
    static const TAlignment& Alignment(int row);
    static constexpr int kAlignmentRows = 75;

    // Per point: the type's two port SPL curves (dB; what the layout names them), and
    // the air speed of each port group (m/s, after compression).
    TRealBlock firstSpl{}, secondSpl{}, firstSpeed{}, secondSpeed{};
    // The network's loads (Pa·s/m³), built once per calculation: A and B as the type's
    // network names them, and the load all cones see behind them (nd · ...).
    TComplexBlock loadA{}, loadB{}, coneLoad{};

protected:
    TBandpassBox(THost& host, TProgramContext& context, const TBoxType& type, const TLayout& layout);

    // loadA, loadB and coneLoad at every grid point from the element impedances.
    virtual void BuildNetwork() = 0;
    // At point i, from the flow U of one cone and kf = K · f: the port flows (through
    // SetPortFlow), the port curves and pressures, and the project pressure returned.
    virtual TComplex PointPressure(int i, const TComplex& u, double kf) = 0;
    // Moves volumes the network cannot take as they are (two equal chambers); the
    // changed box is marked dirty.
    virtual void SeparateVolumes() {}
    // The driver pressure kept in the driver configuration at point i.
    virtual TComplex DriverPressure(const TComplex& u, double kf) const;
    // The port length the standing waves are computed for.
    virtual double StandingWaveLength() const;

    void BuildLoad() override;
    void BuildPressure() override;
    void BuildReport() override;
    std::unique_ptr<TDialogModel> MakeBoxDialog() override;
    [[nodiscard]] bool ReadBody(TBinaryReader& in, int version) override;
    void WriteBody(TBinaryWriter& out) const override;

    // The port's flow at i through its compression, its air speed kept in speed[i].
    // Returns the compression factor (1 when nothing was compressed).
    double SetPortFlow(int k, int i, const TComplex& flow);
    TRealBlock& SpeedOf(int k) { return k == 0 ? firstSpeed : secondSpeed; }
    // Whether this calculation draws the port curves of the SPL plot (an optimiser's
    // steps that do not redraw it skip their levels).
    bool PortLevels() const { return portLevels_; }

private:
    // The sizing rule of the quick box and table lookup for port group k: area from
    // fp and the cone area (times factor), then lengthened or widened to tune to fp.
    bool SizePort(int k, double fp, double factor);
    void FinishSizing();
    void ComputeStandingWaves();

    TLayout layout_;
    TPortNonLinearity portNonLinearity_;
    std::unique_ptr<TBoxObject> secondBox_;
    std::array<std::unique_ptr<TPortObject>, 2> ports_;
    std::unique_ptr<TPlotLogXLinY> airSpeedPlot_, modesPlot_;
    TMinus3dBPair minus3dBPair_;
    bool portLevels_ = true;
    TLineStyle thickGreen_{TColors::Green, 3, TDash::Solid};
};
