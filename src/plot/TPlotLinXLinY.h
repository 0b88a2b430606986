#pragma once
// Time plots: linear x axis and linear y axis, each with its engineering multiplier.

#include "plot/TPlotXYEmbryo.h"

class TPlotLinXLinY : public TPlotXYEmbryo {
public:
    TPlotLinXLinY(THost& host, std::string caption, const TPlotStyles& styles, TCursorDialog* cursor, int iconId,
                  int height, int curveCapacity, int pointCapacity);

    double XScale() const { return xScale_; }
    double XStep() const { return xStep_; }

    TReading ReadX(int px, int width) const override;

protected:
    void ComputeAxes() override;
    void ComputePositions() override;
    void PaintAxes(TCanvas& canvas) override;
    void PaintMinorRow(TCanvas& canvas, int y) override;
    const char* YReadoutFormat(int g) const override { return ReadoutFormat(g); }

private:
    void PaintXAxis(TCanvas& canvas);
    // Draws one tick value; returns its offset g.
    int XTick(TCanvas& canvas, double v);
    // The readout format of both axes when a pixel spans about 10^g units.
    static const char* ReadoutFormat(int g);

    double xSpan_ = 1, xScale_ = 970, xStep_ = 0.1;
    TPlotAxisMath::TMultiplier xMult_{};
    int labelRight_ = 0; // right end of the x labels of the last paint
};
