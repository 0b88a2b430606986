#pragma once
// The drawing resources a project hands to its plots: owned by the project, shared
// by all its plots, referenced, never copied.

#include "ui/TCanvas.h"

struct TPlotStyles {
    TLineStyle framePen{TColors::Black, 1, TDash::Solid};
    TColor background = TColors::White;
    TFontSpec textFont{"Arial", 30, false, false};
    TFontSpec titleFont{"Arial", 40, false, false};
    // Grid lines and minor-level dashes are kept light so the curves stand out.
    TLineStyle gridPen{TColor{200, 200, 200}, 1, TDash::Solid};
    TLineStyle minorPen{TColor{140, 140, 140}, 1, TDash::Solid};
    TColor textColor = TColors::Black;
};
