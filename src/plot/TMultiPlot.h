#pragma once
// The surface plot window of a filter project: the stack of the summed off-axis
// responses, frequency in Hz across, levels in dB.

#include "plot/TMultiPlotBase.h"

class TMultiPlot : public TMultiPlotBase {
public:
    TMultiPlot(THost& host, std::string caption, const TPlotStyles& styles, const TLineStyle& pen,
               const TLineStyle& onAxisPen, const TGeneral& general, const double* frequencies, int pointCount);
};
