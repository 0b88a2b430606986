#pragma once
// The off-axis surface: one response curve per ray, each drawn a step lower than the
// ray before it, with the parts that a nearer (later) curve rises above left out, so
// the stack reads as a landscape seen from the front. Curves are the project's arrays,
// held by reference; the ray angles and the "Flip up/down", "Hide on axis plot" and
// "Inhibit" choices are read from the general settings at every paint.

#include "plot/TPlotLogXLinY.h"

#include <cstdint>
#include <vector>

class TGeneral;

class TMultiPlotBase : public TPlotLogXLinY {
public:
    static constexpr int kMaxSurfaceCurves = TPlotXYEmbryo::kMaxHeldCurves;
    // Canvas units between neighbouring curves of the stack.
    static constexpr int kStep = 15;
    // Share of the frame height one curve's y range covers: the rest is the stack.
    static constexpr double kHeightShare = 0.7;
    // The area curves are clipped to: wider and taller than the frame's inside, so
    // the front curves may run below it.
    static constexpr TRect kCurveClip{112, 50, 1105, 444};

    // The pens and the settings belong to the creator and must outlive the window.
    TMultiPlotBase(THost& host, std::string caption, const TPlotStyles& styles, const TLineStyle& pen,
                   const TLineStyle& onAxisPen, const TGeneral& general, int pointCapacity);

    // Range over every point of every curve; with a span above 1e-9 the top lies
    // span / 30 above the highest value and the bottom a span below the top.
    void FitSurfaceYRange(double span);
    // The curve the Page keys move through (index of the curve as added).
    int Selected() const { return selected_; }
    // Stack position i (0 the rearmost) shows this curve: the same one, or the curve
    // counted from the end when flipped.
    int CurveAtStack(int i) const;
    // Canvas y of point c of stack position i, and whether the segment from c to c + 1
    // is left uncovered by every nearer curve; valid after a paint.
    int StackY(int i, int c) const { return yPos_[static_cast<std::size_t>(i)][static_cast<std::size_t>(c)]; }
    int StackX(int c) const { return xPos_[static_cast<std::size_t>(c)]; }
    bool SegmentVisible(int i, int c) const;

    void DataReady() override;
    void KeyPress(TKey key) override;
    // No cursor readout: a point of a stacked curve reads as no frequency and level.
    void MouseMove(int, int, int, int) override {}
    void MouseDoubleClick(int, int, int, int) override {}
    void Activated(bool active) override { active_ = active; }

protected:
    void ComputeAxes() override;
    void ComputePositions() override;
    void PaintFrame(TCanvas& canvas) override;
    void PaintYCaption(TCanvas& canvas) override;
    void PaintAxes(TCanvas& canvas) override;
    void PaintCurves(TCanvas& canvas, bool printer) override;
    void SelectPlotClip(TCanvas& canvas, bool printer) override;

private:
    void PaintRayLabels(TCanvas& canvas);
    // The pen of a curve: the on-axis ray stands out unless it is hidden.
    const TLineStyle& PenOf(int curve) const;

    const TLineStyle& pen_;
    const TLineStyle& onAxisPen_;
    const TGeneral& general_;
    int selected_ = 0;
    bool flipped_ = false; // as the positions were computed
    // For each point, the first point whose x is not left of it.
    std::vector<int> firstAt_;
    // Per stack position and point: the highest (smallest) mid y of the nearer
    // curves at that point, made with the positions so painting walks no curve twice.
    std::vector<std::vector<int>> nearerTop_;
};
