#include "plot/TMultiPlot.h"

TMultiPlot::TMultiPlot(THost& host, std::string caption, const TPlotStyles& styles, const TLineStyle& pen,
                       const TLineStyle& onAxisPen, const TGeneral& general, const double* frequencies,
                       int pointCount)
    : TMultiPlotBase(host, std::move(caption), styles, pen, onAxisPen, general, pointCount)
{
    SetXUnit("Hz");
    SetYUnit("dB");
    SetXData(frequencies);
    SetPointCount(pointCount);
}
