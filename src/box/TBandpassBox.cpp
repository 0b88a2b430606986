#include "TBandpassBox.h"

#include "TBandpassDialog.h"
#include "box/TBoxPipeline.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TElementGrid.h"
#include "box/elements/TPortObject.h"
#include "core/TBinaryStream.h"
#include "ui/THost.h"

#include <algorithm>
#include <cctype>

using TPortNetwork::Open;

TBandpassBox::TBandpassBox(THost& host, TProgramContext& context, const TBoxType& type, const TLayout& layout)
    : TBoxEmbryo(host, context, type), layout_(layout)
{
    // No air volume of a bandpass box shows its leakage Q.
    SetBoxVolume(std::make_unique<TBoxObject>(layout.firstBox, false));
    secondBox_ = std::make_unique<TBoxObject>(layout.secondBox, false);
    ports_[0] = std::make_unique<TPortObject>(layout.firstPort, portNonLinearity_);
    if (layout.secondPort)
        ports_[1] = std::make_unique<TPortObject>(layout.secondPort, portNonLinearity_);

    SplPlot().AddCurve(splTotal.data(), thickBlack_, "Total", false);
    int shown = 1;
    if (layout.firstCurve) {
        SplPlot().AddCurve(firstSpl.data(), thickBlue_, layout.firstCurve, false);
        SplPlot().AddCurve(secondSpl.data(), thickRed_, layout.secondCurve, false);
        shown = 3;
    }
    SplPlot().AddCurve(target.data(), dottedBlack_, "Target", false);
    SplPlot().SetShownCurves(shown); // the target shows only while an optimiser uses it

    airSpeedPlot_ = MakeOwnPlot("Airspeed in port", "m/s", TRect{600, 290, 1200, 580});
    TPlotLogXLinY& speed = *airSpeedPlot_;
    if (layout.secondPort) {
        speed.AddCurve(firstSpeed.data(), thickGreen_, layout.firstPort, false);
        speed.AddCurve(secondSpeed.data(), thickRed_, layout.secondPort, false);
    } else {
        speed.AddCurve(firstSpeed.data(), thickBlack_, "", false);
    }

    modesPlot_ = MakeOwnPlot("SPL with port standing wave modes", "dB", TRect{0, 290, 600, 580});
    TPlotLogXLinY& modes = *modesPlot_;
    modes.AddCurve(splModes.data(), thickRed_, "With port standing waves", false);
    modes.AddCurve(splTotal.data(), thickBlack_, "Ideal system", false);

    ShowOwnPlot(speed);
    ShowOwnPlot(modes);
}

TBandpassBox::~TBandpassBox()
{
    // The dialog's bindings reach the elements below.
    boxDialog_.reset();
    HideOwnPlot(*airSpeedPlot_);
    HideOwnPlot(*modesPlot_);
}

std::vector<TPlotXYEmbryo*> TBandpassBox::OptionalPlots() const { return {airSpeedPlot_.get(), modesPlot_.get()}; }

TPlotXYEmbryo* TBandpassBox::CommonBodyPlot() const { return modesPlot_.get(); }

TBoxObject& TBandpassBox::BoxOf(int k) { return (k == 0 && !layout_.portInSecondBox) ? BoxVolume() : *secondBox_; }

std::vector<TCurveColumn> TBandpassBox::OwnCurves() const
{
    auto header = [](std::string name, const char* what) {
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        return name + what;
    };
    std::vector<TCurveColumn> curves;
    if (layout_.firstCurve) {
        curves.push_back({header(layout_.firstCurve, " SPL/dB"), firstSpl.data()});
        curves.push_back({header(layout_.secondCurve, " SPL/dB"), secondSpl.data()});
    }
    if (layout_.secondPort) {
        curves.push_back({header(layout_.firstPort, " air speed/m/s"), firstSpeed.data()});
        curves.push_back({header(layout_.secondPort, " air speed/m/s"), secondSpeed.data()});
    } else {
        curves.push_back({"port air speed/m/s", firstSpeed.data()});
    }
    curves.push_back({"SPL with port modes/dB", splModes.data()});
    return curves;
}

// ---------------------------------------------------------------- life cycle

void TBandpassBox::Reset()
{
    TBoxEmbryo::Reset();
    secondBox_->Reset();
    for (int k = 0; k < PortCount(); ++k)
        Port(k).Reset();
    optimiserOptions[1] = 0; // the fit's "Optimize front box Q-value"
    optimiserSpare = 300;    // the fit's upper cutoff, Hz
    minus3dBPair_ = {};
    UpdateTuning();
}

// ---------------------------------------------------------------- tuning

void TBandpassBox::UpdateTuning()
{
    if (layout_.coupledTuning && PortCount() == 2) {
        // The rear port joins the two boxes, the front port vents the front box: the
        // system's lower resonance belongs to the rear port.
        TPortObject& rear = Port(0);
        TPortObject& front = Port(1);
        rear.UpdateEffectiveArea();
        front.UpdateEffectiveArea();
        const double mr = rear.AcousticMass(), mf = front.AcousticMass();
        const double cr = BoxVolume().Compliance(), cf = secondBox_->Compliance();
        double low = 0, high = 0;
        if (!TPortNetwork::CoupledTunings(mr * mf * cr * cf, -((cr + cf) * mf + mr * cr), low, high))
            return;
        TPortNetwork::SetTuningBack(rear, BoxVolume(), low);
        TPortNetwork::SetTuningBack(front, *secondBox_, high);
        return;
    }
    for (int k = 0; k < PortCount(); ++k) {
        Port(k).V = BoxOf(k).TuningVolume();
        Port(k).UpdateTuning();
    }
}

// ---------------------------------------------------------------- calculation

void TBandpassBox::PrepareCalculation()
{
    TBoxEmbryo::PrepareCalculation();
    const TMeasSetup& setup = MeasSetup();
    airSpeedPlot_->SetPointCount(PointCount());
    modesPlot_->SetPointCount(PointCount());
    if (setup.setupChanged) {
        secondBox_->dirty = true;
        for (int k = 0; k < PortCount(); ++k)
            Port(k).dirty = true;
    }
    SeparateVolumes();
    UpdateTuning();
    const TElementGrid grid = TElementGrid::Of(setup.grid);
    if (secondBox_->dirty)
        secondBox_->UpdateImpedance(grid);
    for (int k = 0; k < PortCount(); ++k)
        if (Port(k).dirty)
            Port(k).UpdateImpedance(grid);
    BuildNetwork();
}

void TBandpassBox::BuildLoad()
{
    // The cone radiates into the boxes only: its radiation impedance is no load.
    const int n = PointCount();
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        acousticLoad[j] = coneLoad[j] + front_.mechImpedance[j] + front_.extraLoad[j];
    }
}

TComplex TBandpassBox::DriverPressure(const TComplex& u, double kf) const
{
    return TPortNetwork::Radiated(u * static_cast<double>(front_.numberOfDrivers), kf);
}

double TBandpassBox::SetPortFlow(int k, int i, const TComplex& flow)
{
    TPortObject& port = Port(k);
    const double factor = port.SetFlow(i, flow);
    SpeedOf(k)[static_cast<std::size_t>(i)] = Open(port) ? port.AirSpeed(i) : 0.0;
    return factor;
}

void TBandpassBox::BuildPressure()
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    portLevels_ = !fastMode || splPlotRefresh;
    for (int i = 0; i < n; ++i) {
        const std::size_t j = static_cast<std::size_t>(i);
        const double kf = kPressureConstant * grid.Frequency(i);
        const TComplex u = front_.volumeVelocity[j];
        front_.auxPressure[j] = DriverPressure(u, kf);
        pressure[j] = PointPressure(i, u, kf);
    }
}

void TBandpassBox::RefreshResults()
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
    for (int k = 0; k < PortCount(); ++k)
        Port(k).dirty = false;
    secondBox_->dirty = false;
}

// ---------------------------------------------------------------- file body

bool TBandpassBox::ReadBody(TBinaryReader& in, int version)
{
    if (!secondBox_->ReadRecord(in))
        return false;
    for (int k = 0; k < PortCount(); ++k)
        if (!Port(k).ReadRecord(in, version))
            return false;
    if (!airSpeedPlot_->ReadWindowRecord(in))
        return false;
    UpdateTuning();
    return true;
}

void TBandpassBox::WriteBody(TBinaryWriter& out) const
{
    secondBox_->WriteRecord(out);
    for (int k = 0; k < PortCount(); ++k)
        Port(k).WriteRecord(out);
    airSpeedPlot_->WriteWindowRecord(out);
}

std::unique_ptr<TDialogModel> TBandpassBox::MakeBoxDialog() { return std::make_unique<TBandpassDialog>(host_, *this); }
