#pragma once
// An x-y plot: up to ten curves over one shared x array, held by reference; ranges,
// units, legend, the painting pipeline on the 1200 by 580 canvas, zoom, copy and print.
// It owns a cursor readout and feeds it the pointer; the axis classes add the x axis,
// the positions and what a pointer pixel reads as.

#include "plot/TCursorReadout.h"
#include "plot/TPlotAxisMath.h"
#include "plot/TPlotStyles.h"
#include "plot/TPlotWindowEmbryo.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TCursorDialog;

class TPlotXYEmbryo : public TPlotWindowEmbryo, public TCursorAxes {
public:
    static constexpr int kMaxCurves = 10;
    // The most any plot holds: the surface plot has one curve per ray.
    static constexpr int kMaxHeldCurves = 17;
    static constexpr int kLabelChars = 49;
    static constexpr int kUnitChars = 6;
    static constexpr int kCanvasW = 1200, kCanvasH = 580;
    // Cursor modes
    static constexpr int kCursorOff = TCursorReadout::kOff;
    static constexpr int kCursorAbsolute = TCursorReadout::kAbsolute;
    static constexpr int kCursorRelative = TCursorReadout::kRelative;

    struct TCurve {
        const double* y = nullptr;
        const TLineStyle* style = nullptr;
        std::string label;
        bool thick = false;
    };

    // The styles and the cursor dialog belong to the project and must outlive the plot.
    TPlotXYEmbryo(THost& host, std::string caption, const TPlotStyles& styles, TCursorDialog* cursor, int iconId,
                  int height, int curveCapacity, int pointCapacity);

    // Data, owned by the project
    void SetXData(const double* x) { x_ = x; positionsStale_ = true; }
    void SetPointCount(int count);
    int PointCount() const { return count_; }
    int PointCapacity() const { return capacity_; }
    // Ignored when the curve capacity (at most kMaxHeldCurves) is reached; the label is copied.
    void AddCurve(const double* y, const TLineStyle& style, std::string_view label, bool thick);
    int CurveCount() const { return shown_; }
    // Forgets every curve (a project that rebuilds its curve list on each calculation).
    void ClearCurves();
    int CurvesAdded() const { return static_cast<int>(curves_.size()); }
    // Shows only the first n added curves (the optimisers show and hide the last one).
    void SetShownCurves(int n);
    const TCurve& Curve(int i) const { return curves_[static_cast<std::size_t>(i)]; }

    void SetXUnit(std::string_view unit) { xUnit_.assign(unit.substr(0, kUnitChars)); }
    void SetYUnit(std::string_view unit) { yUnit_.assign(unit.substr(0, kUnitChars)); }
    const std::string& XUnit() const override { return xUnit_; }
    const std::string& YUnit() const override { return yUnit_; }

    void SetZoomEnabled(bool enabled) { zoomEnabled_ = enabled; }
    bool ZoomEnabled() const { return zoomEnabled_; }
    int ZoomFactor() const { return zoom_; }

    double xMinimum = 0, xMaximum = 1, yMinimum = 0, yMaximum = 1;
    // False when no x value is finite (the range stays as it was).
    bool FitXRange(double span);
    // The x range of a plot fitted over the same x values, without walking them again.
    void FitXRangeAs(const TPlotXYEmbryo& fitted);
    void FitYRange(double span);

    virtual void DataReady();
    virtual void DataCleared();
    bool HasData() const { return hasData_; }
    void Redraw() override;

    // Menu commands of a plot window; false for ids it does not handle.
    bool HandleCommand(int id);
    void CopyWindow();
    virtual void PrintPlot();
    // Whether there is anything to print: the curves' data (a window that draws what it
    // holds itself, as the snapshot does, says so).
    virtual bool HasPrintableData() const { return hasData_; }

    // TWindowModel
    void Paint(TCanvas& canvas) override;
    void MouseMove(int px, int py, int width, int height) override;
    void MouseDoubleClick(int px, int py, int width, int height) override;
    void MouseLeave() override;
    void KeyPress(TKey key) override;
    void Activated(bool active) override;

    // Readout state
    int CursorMode() const { return readout_.Mode(); }
    double ReferenceY() const { return readout_.ReferenceY(); }
    double LastCursorX() const { return readout_.LastX(); }
    double LastCursorY() const { return readout_.LastY(); }
    bool CursorInside() const { return readout_.Inside(); }
    bool IsActive() const { return active_; }
    // Rectangles of the last paint, in window pixels
    const TRect& ClipPixels() const { return clipPixels_; }
    const TRect& CursorPixels() const { return cursorPixels_; }
    static TRect ClipRectFor(int width, int height);
    static TRect CursorRectFor(int width, int height);

    // Marker kind of curve j among n: 0 square, 1 triangle, 2 diamond, -1 none.
    static int MarkerOf(int j, int n);

    // TCursorAxes: y is read on the linear y axis, x by the axis classes.
    TReading ReadY(int py, int height) const override;

protected:
    // The painting pipeline
    virtual void BeginPlotPaint(TCanvas& canvas);
    virtual void PaintFrame(TCanvas& canvas);
    virtual void PaintYCaption(TCanvas& canvas);
    virtual void PaintAxes(TCanvas&) {}
    virtual void PaintCurves(TCanvas& canvas, bool printer);
    virtual void EndPlotPaint(TCanvas&) {}
    virtual void FinishPlotPaint(TCanvas& canvas);
    virtual void SelectPlotClip(TCanvas& canvas, bool printer);
    virtual void ReleasePlotClip(TCanvas& canvas);
    virtual void PaintXCaption(TCanvas& canvas);
    // Drawn inside the clip before the curves (the phase curve).
    virtual void PaintUnderCurves(TCanvas&) {}
    virtual void DrawSquareMarker(TCanvas& canvas, int x, int y);
    virtual void DrawTriangleMarker(TCanvas& canvas, int x, int y);
    virtual void DrawDiamondMarker(TCanvas& canvas, int x, int y);
    void DrawMarker(TCanvas& canvas, int kind, int x, int y);

    // The printf format of the y readout when a pixel spans about 10^g units.
    virtual const char* YReadoutFormat(int g) const = 0;
    // Canvas units of a pointer position in a view of the given size.
    static double UnitsX(int px, int width) { return px * double(kCanvasW) / (width > 0 ? width : 600); }
    static double UnitsY(int py, int height) { return py * double(kCanvasH) / (height > 0 ? height : 290); }

    // Guards the ranges and recomputes the derived axis values.
    virtual void ComputeAxes();
    // Fills the position buffers from the data and ranges.
    virtual void ComputePositions() = 0;
    // y position of a value; log-x plots replace negative positions by 0.
    std::int16_t YPosition(double y) const;
    virtual bool ClampNegativeY() const { return false; }

    // The linear y axis of both axis classes; minor levels get a row of dashes.
    void PaintYAxis(TCanvas& canvas);
    virtual void PaintMinorRow(TCanvas& canvas, int y) = 0;

    // Text in a fixed buffer, so painting allocates nothing.
    void Label(TCanvas& canvas, int x, int y, int align, const char* format, double value);
    void Line(TCanvas& canvas, int x0, int y0, int x1, int y1);

    const TPlotStyles& styles_;
    TCursorReadout readout_;
    const double* x_ = nullptr;
    int count_ = 0;
    int capacity_;
    int curveCapacity_;
    std::vector<TCurve> curves_;
    int shown_ = 0;
    std::string xUnit_, yUnit_;
    bool zoomEnabled_ = false;
    int zoom_ = 1;
    int iconId_;

    bool hasData_ = false;
    bool active_ = false;
    bool positionsStale_ = true;
    // The last pointer event, which the arrow keys step from.
    int lastPx_ = 0, lastPy_ = 0, lastW_ = 0, lastH_ = 0;
    TRect clipPixels_, cursorPixels_;

    // Derived y axis values
    double yScale_ = 1;
    TPlotAxisMath::TYSteps ySteps_{};
    TPlotAxisMath::TMultiplier yMult_{};

    // Position buffers made at creation
    std::vector<std::int16_t> xPos_;
    std::vector<std::vector<std::int16_t>> yPos_;
    std::vector<TPoint> poly_;
    std::array<TPoint, kMaxHeldCurves> markerAt_{};
    char text_[160] = {};
};
