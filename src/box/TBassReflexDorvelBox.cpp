// The reflex bandpass box: its description, windows and calculation. The report, the
// file body and the quick box are in TBassReflexDorvelFile.cpp.

#include "TBassReflexDorvelBox.h"

#include "TBreflDorvelDialog.h"
#include "box/TBoxPipeline.h"
#include "box/elements/TElementGrid.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

namespace {
// j · K · f · q: the pressure at 1 m (re 20 µPa) of a volume velocity q.
TComplex Radiated(const TComplex& q, double kf) { return TComplex(-q.imag() * kf, q.real() * kf); }
} // namespace

const TBoxType& TBassReflexDorvelBox::Type()
{
    static const TBoxType type{
        .typeCode = kTypeCode,
        .title = "ReflexBandPass Box",
        .cliName = "rbp",
        .menu = 15,
        .picture = 211,
        .frontAndRear = true,
        .unsupportedCommands = {TCmd::ExportModesSpl},
        .roomSources = {TRoomSources::DriverUnits, TRoomSources::Port},
        .make = MakeBox<TBassReflexDorvelBox>,
    };
    return type;
}

TBassReflexDorvelBox::TBassReflexDorvelBox(THost& host, TProgramContext& context) : TBoxEmbryo(host, context, Type())
{
    SetBoxVolume(std::make_unique<TBoxObject>("Front box", true));
    SplPlot().AddCurve(splTotal.data(), thickBlack_, "Total", false);
    SplPlot().AddCurve(driverSpl.data(), driverStyle_, "Driver", false);
    SplPlot().AddCurve(portSpl.data(), portStyle_, "Front Port", false);
    SplPlot().AddCurve(target.data(), dottedBlack_, "Target", false);
    SplPlot().SetShownCurves(3); // the target shows only while an optimiser uses it
    ExcursionPlot().AddCurve(rear_.excursion.data(), thickRed_, "Rear driver unit", false);

    airSpeedPlot_ = MakeOwnPlot("Airspeed in port", "m/s", TRect{600, 290, 1200, 580});
    airSpeedPlot_->AddCurve(portAirSpeed.data(), thickBlack_, "", false);
    ShowOwnPlot(*airSpeedPlot_);
    Reset();
}

TBassReflexDorvelBox::~TBassReflexDorvelBox()
{
    // The dialog's bindings reach the elements, which go before the base's members.
    boxDialog_.reset();
    HideOwnPlot(*airSpeedPlot_);
}

void TBassReflexDorvelBox::Reset()
{
    TBoxEmbryo::Reset();
    acousticResistance = kResetResistance;
    port_.Reset();
    rearPort_.Reset();
    rearBox_.Reset();
    UpdateTunings();
}

void TBassReflexDorvelBox::UpdateTunings()
{
    port_.V = BoxVolume().TuningVolume();
    port_.UpdateTuning();
    rearPort_.V = rearBox_.TuningVolume();
    rearPort_.UpdateTuning();
}

// ---------------------------------------------------------------- calculation

void TBassReflexDorvelBox::Calculate(int partial)
{
    if (!front_.complete)
        return;
    if (partial == 0) {
        PrepareCalculation();
        BuildLoad();
        CoupleDriver();
        DriveDriver();
        CoupleRear();
        DriveRear();
        BuildPressure();
        FinishResponse();
    }
    if (!fastMode) {
        // The reference is the last grid point even where imported data took over.
        minus3dB = TBoxPipeline::SearchMinus3dB(Grid(), splTotal, -1);
        BuildReport();
    }
    if (partial == 0)
        RefreshResults();
}

void TBassReflexDorvelBox::PrepareCalculation()
{
    const bool setupChanged = MeasSetup().setupChanged;
    TBoxEmbryo::PrepareCalculation();
    const TMeasSetup& setup = MeasSetup();
    const TFreqGrid& grid = setup.grid;
    airSpeedPlot_->SetPointCount(grid.Count());
    if (setupChanged) {
        port_.dirty = true;
        rearPort_.dirty = true;
        rearBox_.dirty = true;
    }
    UpdateTunings();
    const TElementGrid elementGrid = TElementGrid::Of(grid);
    for (TPortObject* port : {&port_, &rearPort_})
        if (port->dirty)
            port->UpdateImpedance(elementGrid);
    if (rearBox_.dirty)
        rearBox_.UpdateImpedance(elementGrid);
    if (RearActive()) {
        // The rear group's terms are refreshed at every calculation.
        rear_.outOfDate = true;
        rear_.PrepareTerms(grid, setup.sourceLevel);
    }
    // The front box and the front port in parallel: what the cones' flow works into.
    const TBoxObject& box = BoxVolume();
    const int n = grid.Count();
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const TComplex zb = box.impedance[j], zp = port_.impedance[j];
        frontChamberLoad[j] = DivComplex(MulComplex(zb, zp), zb + zp);
    }
}

void TBassReflexDorvelBox::BuildLoad()
{
    const int n = PointCount();
    const double drivers = front_.numberOfDrivers;
    const bool rear = RearActive();
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const TComplex t1 = front_.mechImpedance[j] + front_.radiationImpedance[j] + front_.extraLoad[j];
        const TComplex x = drivers * frontChamberLoad[j];
        rearChamber[j] = rearBox_.impedance[j];
        double w = 1.0;
        if (rear) {
            const TComplex t2 = rear_.mechImpedance[j] + rear_.extraLoad[j] + rearBox_.impedance[j];
            w = CouplingWeight(t1, t2, x);
            rearLoad[j] = t2 + w * x;
        }
        weight[j] = w;
        acousticLoad[j] = t1 + w * x;
    }
}

double TBassReflexDorvelBox::CouplingWeight(const TComplex& t1, const TComplex& t2, const TComplex& x)
{
    double w = 1.0;
    for (int k = 0; k < 4; ++k) {
        w = std::sqrt(SquaredMagnitudeOf(t1 + w * x) / SquaredMagnitudeOf(t2 + w * x)) + 1.0;
        // Also what a rear load of nothing at all (0 / 0) comes to.
        if (!(w <= 2.0))
            w = 2.0;
    }
    return w;
}

void TBassReflexDorvelBox::CoupleRear()
{
    const int n = PointCount();
    if (!RearActive()) {
        // Without the rear group its results read as silence.
        for (int i = 0; i < n; ++i) {
            const auto j = static_cast<std::size_t>(i);
            rear_.volumeVelocity[j] = TComplex(0.0, 0.0);
            rear_.excursion[j] = 0.0;
        }
        return;
    }
    const double kzFront = front_.TotalFactors().kZ;
    const double kzRear = rear_.TotalFactors().kZ;
    const bool isobaric = rear_.isobaric;
    const double bl2 = rear_.Bl * rear_.Bl;
    const double sd2 = rear_.Sd * rear_.Sd;
    const bool withImpedance = !fastMode;
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        if (isobaric)
            rearLoad[j] += rear_.mechImpedance[j];
        const TComplex z = isobaric ? rearLoad[j] * 0.5 : rearLoad[j];
        const TComplex zm = DivComplex(bl2, z * sd2);
        rearMotional[j] = zm;
        rear_.coilImpedance[j] = zm + rear_.coilResistance[j];
        if (withImpedance) {
            // Both groups on the same generator: their input impedances in parallel.
            const TComplex yf = DivComplex(1.0, kzFront * (front_.coilImpedance[j] + front_.coilInductance[j]));
            const TComplex yr = DivComplex(1.0, kzRear * (rear_.coilImpedance[j] + rear_.coilInductance[j]));
            const TComplex zin = DivComplex(1.0, yf + yr);
            front_.impedanceMagnitude[j] = MagnitudeOf(zin);
            impedancePhase[j] = PhaseOf(zin) * kDegrees;
        }
    }
}

void TBassReflexDorvelBox::DriveRear()
{
    if (!RearActive())
        return;
    const TMeasSetup& setup = MeasSetup();
    const TFreqGrid& grid = setup.grid;
    const int n = grid.Count();
    const TConnFactors k = rear_.TotalFactors();
    const double rs = setup.sourceResistance * k.kR;
    const double ls = setup.sourceInductance * k.kR;
    // The generator's voltage without the high-pass.
    const double u = setup.sourceLevel * k.kU;
    double force = rear_.Bl;
    if (rear_.isobaric)
        force *= 2.0;
    if (rear_.HasDoubleVoiceCoil())
        force *= 2.0;
    const double perArea = 1.0 / rear_.Sd;
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const double w = grid.Omega(i);
        const TComplex current = DivComplex(u, rear_.coilImpedance[j] + TComplex(rs, w * ls));
        const TComplex q = DivComplex(current * (force * perArea), rearLoad[j]);
        rear_.volumeVelocity[j] = q;
        rear_.excursion[j] = MagnitudeOf(q) * perArea / w * 1000.0 * 2.828;
    }
}

void TBassReflexDorvelBox::BuildPressure()
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    const double frontDrivers = front_.numberOfDrivers;
    const double rearDrivers = RearActive() ? rear_.numberOfDrivers : 0.0;
    const double area = port_.S * port_.n;
    const double perArea = area > 0 ? 1.0 / area : 0.0;
    // The driver and port curves are drawn with the SPL plot; an optimiser's steps that
    // do not redraw it skip their levels.
    const bool levels = !fastMode || splPlotRefresh;
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const double kf = kPressureConstant * grid.Frequency(i);
        const TComplex pd = Radiated(front_.volumeVelocity[j] * frontDrivers, kf);
        front_.auxPressure[j] = pd;
        // The front box carries the flows of both groups; the port lets part of it out.
        const TComplex chamber = MulComplex(frontChamberLoad[j], front_.volumeVelocity[j] * frontDrivers +
                                                                     rear_.volumeVelocity[j] * rearDrivers);
        const TComplex flow = DivComplex(chamber, port_.impedance[j]);
        portAirSpeed[j] = MagnitudeOf(flow) * perArea * port_.SetFlow(i, flow);
        const TComplex pp = Radiated(port_.volumeVelocity[j], kf);
        port_.pressure[j] = pp;
        pressure[j] = pd - pp;
        if (levels) {
            driverSpl[j] = TBoxPipeline::LevelOf(pd);
            portSpl[j] = TBoxPipeline::LevelOf(pp);
        }
    }
}

void TBassReflexDorvelBox::RefreshResults()
{
    TBoxEmbryo::RefreshResults();
    if (!fastMode) {
        TPlotLogXLinY& plot = *airSpeedPlot_;
        plot.FitXRange(0);
        plot.FitYRange(0);
        plot.yMinimum = 0;
        plot.DataReady();
        plot.Redraw();
    }
    port_.dirty = false;
    rearPort_.dirty = false;
    rearBox_.dirty = false;
}

std::vector<TCurveColumn> TBassReflexDorvelBox::OwnCurves() const
{
    return {{"driver SPL/dB", driverSpl.data()},
            {"port SPL/dB", portSpl.data()},
            {"port air speed/m/s", portAirSpeed.data()},
            {"rear excursion/mm", rear_.excursion.data()}};
}

std::unique_ptr<TDialogModel> TBassReflexDorvelBox::MakeBoxDialog()
{
    return std::make_unique<TBreflDorvelDialog>(host_, *this);
}
