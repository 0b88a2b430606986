#pragma once
// The export commands of the four owners of curves - box projects, filter project
// totals, simple filter sections and advanced filter nets. Each asks for a file name,
// picks the layout from its extension and writes the curve its caller hands over as
// plain arrays.

#include "measdata/TCurveExport.h"
#include "ui/THost.h"

#include <functional>
#include <optional>

// The two save dialogs an owner keeps: one for levels (and everything else that is not
// an impedance), one for impedances.
struct TExportDialogs {
    TFileRequest level;
    TFileRequest impedance;
    TExportDialogs();
};

// The columns of the curve, asked for once the file name and layout are settled. The
// arrays must live until the export returns. Returning nothing cancels the export:
// the filter total asks the user for a ray at this point.
using TExportCurveSource = std::function<std::optional<TExportCurve>()>;

enum class TExportOutcome { Cancelled, Refused, Failed, Written };

// Box projects (selector codes 0 to 5).
enum class TBoxExport { Spl = 0, SplRoomCabinet = 1, SplStandingWaves = 2, TransientResponse = 3, InputImpedance = 4,
                        GroupDelay = 5 };
// Filter project totals (selector codes 0, 2, 3, 4).
enum class TFilterTotalExport { SplTotal = 0, ImpedanceTotal = 2, GroupDelayTotal = 3, ImpulseResponse = 4 };
// Sections of simple filters and nets of advanced filters (selector codes 0 to 3).
enum class TSectionExport { Spl = 0, FilterGain = 1, Impedance = 2, GroupDelay = 3 };

TCurveKind CurveKindOf(TBoxExport what);
TCurveKind CurveKindOf(TFilterTotalExport what);
TCurveKind CurveKindOf(TSectionExport what);

// The curve's kind is set from the selector, so a source only fills in the columns.
TExportOutcome ExportBoxCurve(THost& host, TExportDialogs& dialogs, TBoxExport what, const TExportCurveSource& curve);
TExportOutcome ExportFilterTotal(THost& host, TExportDialogs& dialogs, TFilterTotalExport what,
                                 const TExportCurveSource& curve);
// Used by both the simple filter sections and the advanced filter nets.
TExportOutcome ExportSectionCurve(THost& host, TExportDialogs& dialogs, TSectionExport what,
                                  const TExportCurveSource& curve);
