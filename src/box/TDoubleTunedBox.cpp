#include "TDoubleTunedBox.h"

#include "TBoxReport.h"
#include "TDoubleTunedDialog.h"
#include "box/TBoxPipeline.h"
#include "box/TPortNetwork.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TBoxObjectFields.h"
#include "box/elements/TElementConstants.h"
#include "box/elements/TElementGrid.h"
#include "box/elements/TPortObject.h"
#include "box/elements/TPortObjectFields.h"
#include "core/TBinaryStream.h"
#include "ui/THost.h"
#include "ui/TNumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace C = TElementConstants;

namespace {
using TPortNetwork::Open;
using TPortNetwork::Radiated;
} // namespace

TDoubleTunedBox::TDoubleTunedBox(THost& host, TProgramContext& context, const TBoxType& type, const TLayout& layout)
    : TBoxEmbryo(host, context, type), layout_(layout)
{
    const char* first = layout.firstIsRear ? "Rear" : "Front";
    const char* second = layout.firstIsRear ? "Front" : "Rear";
    SetBoxVolume(std::make_unique<TBoxObject>(std::string(first) + " box", false));
    secondBox_ = std::make_unique<TBoxObject>(std::string(second) + " box", false);
    firstPort_ = std::make_unique<TPortObject>(std::string(first) + " port", portNonLinearity_);
    secondPort_ = std::make_unique<TPortObject>(std::string(second) + " port", portNonLinearity_);

    SplPlot().AddCurve(splTotal.data(), thickBlack_, "Total", false);
    SplPlot().AddCurve(driverSpl.data(), thickBlue_, "Driver", false);
    SplPlot().AddCurve(frontPortSpl.data(), thickRed_, "Front port", false);
    SplPlot().AddCurve(target.data(), dottedBlack_, "Target", false);
    SplPlot().SetShownCurves(3); // the target shows only while an optimiser uses it

    airSpeedPlot_ = MakeOwnPlot("Airspeed in port", "m/s", TRect{300, 145, 900, 435});
    TPlotLogXLinY& speed = *airSpeedPlot_;
    // Same colours as in the SPL plot: red is the front port wherever it shows.
    speed.AddCurve(firstPortSpeed.data(), layout.firstIsRear ? thickGreen_ : thickRed_, firstPort_->Name(), false);
    speed.AddCurve(secondPortSpeed.data(), layout.firstIsRear ? thickRed_ : thickGreen_, secondPort_->Name(), false);
    ShowOwnPlot(speed);
}

TDoubleTunedBox::~TDoubleTunedBox()
{
    // The dialog's bindings reach the elements below.
    boxDialog_.reset();
    HideOwnPlot(*airSpeedPlot_);
}

std::vector<TPlotXYEmbryo*> TDoubleTunedBox::OptionalPlots() const { return {airSpeedPlot_.get()}; }

std::vector<TCurveColumn> TDoubleTunedBox::OwnCurves() const
{
    auto speedHeader = [](const TPortObject& port) {
        std::string name = port.Name();
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        return name + " air speed/m/s";
    };
    return {{"driver SPL/dB", driverSpl.data()},
            {"front port SPL/dB", frontPortSpl.data()},
            {speedHeader(FirstPort()), firstPortSpeed.data()},
            {speedHeader(SecondPort()), secondPortSpeed.data()}};
}

// ---------------------------------------------------------------- life cycle

void TDoubleTunedBox::Reset()
{
    TBoxEmbryo::Reset();
    firstPort_->Reset();
    secondBox_->Reset();
    secondPort_->Reset();
    optimiserOptions[1] = 0; // the fit's "Optimize front box Q-value"
    UpdateCoupledTuning();
}

// ---------------------------------------------------------------- tuning

void TDoubleTunedBox::UpdateCoupledTuning()
{
    TPortObject& p1 = *firstPort_;
    TPortObject& p2 = *secondPort_;
    p1.UpdateEffectiveArea();
    p2.UpdateEffectiveArea();
    const double m1 = p1.AcousticMass();
    const double m2 = p2.AcousticMass();
    const double c1 = BoxVolume().ComplianceFactor() * BoxVolume().Vb * C::kInvRhoC2;
    const double c2 = secondBox_->ComplianceFactor() * secondBox_->Vb * C::kInvRhoC2;
    const double a = m1 * m2 * c1 * c2;
    const double b = TuningCoefficient(m1, m2, c1, c2);
    double low = 0, high = 0;
    if (!TPortNetwork::CoupledTunings(a, b, low, high))
        return;
    TPortNetwork::SetTuningBack(p1, BoxVolume(), low);
    TPortNetwork::SetTuningBack(p2, *secondBox_, high);
}

// ---------------------------------------------------------------- calculation

void TDoubleTunedBox::PrepareCalculation()
{
    TBoxEmbryo::PrepareCalculation();
    const TMeasSetup& setup = MeasSetup();
    airSpeedPlot_->SetPointCount(PointCount());
    if (setup.setupChanged) {
        firstPort_->dirty = true;
        secondPort_->dirty = true;
        secondBox_->dirty = true;
    }
    // Two equal volumes are told apart, as they always have been.
    if (secondBox_->Vb == BoxVolume().Vb) {
        secondBox_->Vb *= 1.001;
        secondBox_->dirty = true;
    }
    const TElementGrid grid = TElementGrid::Of(setup.grid);
    if (secondBox_->dirty)
        secondBox_->UpdateImpedance(grid);
    for (TPortObject* port : {firstPort_.get(), secondPort_.get()})
        if (port->dirty)
            port->UpdateImpedance(grid);
    UpdateCoupledTuning();
    BuildNetwork();
}

void TDoubleTunedBox::BuildLoad()
{
    const int n = PointCount();
    const double drivers = front_.numberOfDrivers;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        acousticLoad[j] = drivers * loadA[j] + front_.mechImpedance[j] + front_.extraLoad[j] +
                          front_.radiationImpedance[j];
    }
}

TComplex TDoubleTunedBox::SetPortFlow(TPortObject& port, TRealBlock& speed, int i, const TComplex& flow)
{
    port.SetFlow(i, flow, TPortObject::kFixedSpeedLimit);
    const std::size_t j = static_cast<std::size_t>(i);
    speed[j] = Open(port) ? port.AirSpeed(i) : 0.0;
    return port.volumeVelocity[j];
}

void TDoubleTunedBox::BuildPressure()
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    const double drivers = front_.numberOfDrivers;
    TPortObject& front = FrontPort();
    TPortObject& rear = RearPort();
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const double kf = kPressureConstant * grid.Frequency(i);
        const TComplex cone = front_.volumeVelocity[j] * drivers;
        const TComplex pd = Radiated(cone, kf);
        front_.auxPressure[j] = pd;
        driverSpl[j] = TBoxPipeline::LevelOf(pd);
        const TComplex frontFlow = PortFlows(i, cone);
        const TComplex pf = Radiated(frontFlow, kf);
        front.pressure[j] = pf;
        frontPortSpl[j] = TBoxPipeline::LevelOf(pf);
        // The rear port's pressure is kept, but it opens into a chamber, not the room.
        rear.pressure[j] = Radiated(rear.volumeVelocity[j], kf);
        // The front port's flow leaves the box where the cones' rear flow enters it.
        pressure[j] = pd - pf;
    }
}

void TDoubleTunedBox::RefreshResults()
{
    TBoxEmbryo::RefreshResults();
    if (!fastMode) {
        TPlotLogXLinY& speed = *airSpeedPlot_;
        speed.FitXRange(0);
        speed.FitYRange(0);
        speed.yMinimum = 0;
        speed.DataReady();
        speed.Redraw();
    }
    firstPort_->dirty = false;
    secondPort_->dirty = false;
    secondBox_->dirty = false;
}

// ---------------------------------------------------------------- report

void TDoubleTunedBox::BuildReport()
{
    TBoxReport& report = Report();
    std::string note = report.Note();
    report.Clear();
    report.SetNote(note);
    report.SetTitle(layout_.reportTitle);
    ReportFileName();
    std::vector<std::string> lines;
    BoxVolume().Report(lines);
    secondBox_->Report(lines);
    firstPort_->Report(lines);
    secondPort_->Report(lines);
    report.Add(lines);
    ReportDriverSetupRoom(TRoomCounts{front_.numberOfDrivers, 0, FrontPort().n, 0});
    report.Add("Additional details:");
    if (minus3dB != 0)
        report.Add(TNumberText::FormatDouble("  -3dB point: \t%3.2f Hz", minus3dB));
    report.Add("");
    ShowReport();
}

// ---------------------------------------------------------------- quick box

void TDoubleTunedBox::QuickBox()
{
    // Without a complete unit there is nothing to size for.
    if (!front_.complete) {
        host_.Beep();
        return;
    }
    ComputeEffectiveDriver();
    const double drivers = front_.numberOfDrivers;
    const double area = effectiveFs * 0.004 * front_.Sd * drivers;
    const TFieldInfo& volume = BoxFieldInfo(TBoxField::Volume);
    const TFieldInfo& areaField = PortFieldInfo(TPortField::Area);
    const double firstLitres = volume.Shown(drivers * front_.Vas);
    const double firstArea = areaField.Shown(area / FirstPort().n);
    const double secondArea = areaField.Shown(2.0 * area / SecondPort().n);
    if (!(std::isfinite(firstLitres) && std::isfinite(firstArea) && std::isfinite(secondArea))) {
        host_.Beep();
        return;
    }
    // The dialog's own limits: every value stays one the user could have typed.
    auto litres = [&volume](double l) { return volume.Stored(std::clamp(l, volume.minimum, volume.maximum)); };
    auto square = [&areaField](double cm2) {
        return areaField.Stored(std::clamp(cm2, areaField.minimum, areaField.maximum));
    };
    BoxVolume().Vb = litres(firstLitres);
    secondBox_->Vb = litres(0.5 * firstLitres);
    if (!layout_.firstIsRear) {
        // Type 2's second box is closed: filled and damped, it only stiffens the port.
        secondBox_->fill = 100;
        secondBox_->Qb = 3.0;
    }
    struct {
        TPortObject& port;
        double area, length;
    } ports[] = {{FirstPort(), square(firstArea), 0.2}, {SecondPort(), square(secondArea), 0.1}};
    for (auto& p : ports) {
        p.port.S = p.area;
        p.port.D = std::sqrt(4.0 * p.area / C::kPi);
        p.port.L = p.length;
        p.port.UpdateEffectiveArea();
        p.port.dirty = true;
    }
    BoxVolume().dirty = true;
    secondBox_->dirty = true;
    UpdateCalculateCommand();
    UpdateCoupledTuning();
    if (TDialogModel* dialog = ExistingBoxDialog(); dialog && dialog->IsOpen())
        dialog->Reload();
    RecalcRequest(TRecalc::Recalculate);
}

std::unique_ptr<TDialogModel> TDoubleTunedBox::MakeBoxDialog()
{
    return std::make_unique<TDoubleTunedDialog>(host_, *this);
}

// ---------------------------------------------------------------- file body

bool TDoubleTunedBox::ReadBody(TBinaryReader& in, int version)
{
    return secondBox_->ReadRecord(in) && firstPort_->ReadRecord(in, version) && secondPort_->ReadRecord(in, version) &&
           airSpeedPlot_->ReadWindowRecord(in);
}

void TDoubleTunedBox::WriteBody(TBinaryWriter& out) const
{
    secondBox_->WriteRecord(out);
    firstPort_->WriteRecord(out);
    secondPort_->WriteRecord(out);
    airSpeedPlot_->WriteWindowRecord(out);
}
