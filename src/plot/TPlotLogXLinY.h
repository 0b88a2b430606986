#pragma once
// Frequency plots: logarithmic x axis, linear y axis, and an optional phase curve
// drawn on a second axis from -180 to +180 degrees.

#include "plot/TPlotXYEmbryo.h"

class TPlotLogXLinY : public TPlotXYEmbryo {
public:
    static constexpr int kPhasePoints = 512;

    TPlotLogXLinY(THost& host, std::string caption, const TPlotStyles& styles, TCursorDialog* cursor, int iconId,
                  int height, int curveCapacity, int pointCapacity);

    // Sets the phase curve (degrees, owned by the project) and shows it.
    void SetPhaseCurve(const double* phase, const TLineStyle& style);
    void SetPhaseShown(bool shown) { phaseShown_ = shown && phase_; }
    bool PhaseShown() const { return phaseShown_; }

    // Derived axis values of the last paint
    double LowerDecade() const { return lower_; }
    double DecadeSpan() const { return decades_; }
    double XScale() const { return xScale_; }

    // Rounded to the power of ten a pixel spans (10 to 10000), so the readout shows
    // no digits a pointer cannot pick.
    TReading ReadX(int px, int width) const override;

protected:
    void ComputeAxes() override;
    void ComputePositions() override;
    bool ClampNegativeY() const override { return true; }
    void PaintAxes(TCanvas& canvas) override;
    void PaintUnderCurves(TCanvas& canvas) override;
    void PaintMinorRow(TCanvas& canvas, int y) override;
    const char* YReadoutFormat(int g) const override;
    void PaintXAxis(TCanvas& canvas);

private:
    void PaintPhaseAxis(TCanvas& canvas);
    void XLabel(int k, int q, const char* suffix);

    const double* phase_ = nullptr;
    const TLineStyle* phaseStyle_ = nullptr;
    bool phaseShown_ = false;
    std::vector<std::int16_t> phasePos_;
    double lower_ = 0, upper_ = 1, decades_ = 1, xScale_ = 970;
};
