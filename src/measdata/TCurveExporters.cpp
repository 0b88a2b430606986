#include "measdata/TCurveExporters.h"

namespace {

constexpr const char* kLevelFilter =
    "LAUD frequency resp (*.frd)|*.frd|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm"
    "|CSV files (*.csv)|*.csv|";
constexpr const char* kImpedanceFilter =
    "LAUD impedance (*.zma)|*.zma|LEAP (*.gdt)|*.gdt|MLLSA (*.fmp)|*.fmp|MLLSA standard(*.fm)|*.fm"
    "|CSV files (*.csv)|*.csv|";

TExportOutcome Export(THost& host, TExportDialogs& dialogs, TCurveKind kind, TMsgIcon refusalIcon,
                      const TExportCurveSource& source)
{
    TFileRequest& request = kind == TCurveKind::Impedance ? dialogs.impedance : dialogs.level;
    std::string path;
    if (!host.ChooseSaveFile(request, path))
        return TExportOutcome::Cancelled;
    request.initialName = path;

    const std::optional<TExportFormat> format = ExportFormatOf(path);
    if (!format) {
        host.Message("No valid export format selected", "Export error", TMsgButtons::Ok, refusalIcon);
        return TExportOutcome::Refused;
    }
    // Nothing is created before the curve is known: a cancelled ray choice leaves an
    // existing file as it was.
    std::optional<TExportCurve> curve = source ? source() : std::nullopt;
    if (!curve)
        return TExportOutcome::Cancelled;
    curve->kind = kind;
    if (!WriteCurveFile(path, *format, *curve)) {
        host.Message("Could not save to file '" + path + "'", "Export error", TMsgButtons::Ok, TMsgIcon::Warning);
        return TExportOutcome::Failed;
    }
    return TExportOutcome::Written;
}

} // namespace

TExportDialogs::TExportDialogs()
{
    level.filter = kLevelFilter;
    level.defaultExtension = "frd";
    impedance.filter = kImpedanceFilter;
    impedance.defaultExtension = "zma";
}

TCurveKind CurveKindOf(TBoxExport what)
{
    switch (what) {
    case TBoxExport::Spl:
        return TCurveKind::Spl;
    case TBoxExport::SplRoomCabinet:
        return TCurveKind::SplRoomCabinet;
    case TBoxExport::SplStandingWaves:
        return TCurveKind::SplStandingWaves;
    case TBoxExport::TransientResponse:
        return TCurveKind::TimeResponse;
    case TBoxExport::InputImpedance:
        return TCurveKind::Impedance;
    case TBoxExport::GroupDelay:
        return TCurveKind::GroupDelay;
    }
    return TCurveKind::Spl;
}

TCurveKind CurveKindOf(TFilterTotalExport what)
{
    switch (what) {
    case TFilterTotalExport::SplTotal:
        return TCurveKind::Spl;
    case TFilterTotalExport::ImpedanceTotal:
        return TCurveKind::Impedance;
    case TFilterTotalExport::GroupDelayTotal:
        return TCurveKind::GroupDelay;
    case TFilterTotalExport::ImpulseResponse:
        return TCurveKind::TimeResponse;
    }
    return TCurveKind::Spl;
}

TCurveKind CurveKindOf(TSectionExport what)
{
    switch (what) {
    case TSectionExport::Spl:
        return TCurveKind::Spl;
    case TSectionExport::FilterGain:
        return TCurveKind::FilterGain;
    case TSectionExport::Impedance:
        return TCurveKind::Impedance;
    case TSectionExport::GroupDelay:
        return TCurveKind::GroupDelay;
    }
    return TCurveKind::Spl;
}

TExportOutcome ExportBoxCurve(THost& host, TExportDialogs& dialogs, TBoxExport what, const TExportCurveSource& curve)
{
    return Export(host, dialogs, CurveKindOf(what), TMsgIcon::Warning, curve);
}

TExportOutcome ExportFilterTotal(THost& host, TExportDialogs& dialogs, TFilterTotalExport what,
                                 const TExportCurveSource& curve)
{
    return Export(host, dialogs, CurveKindOf(what), TMsgIcon::Warning, curve);
}

TExportOutcome ExportSectionCurve(THost& host, TExportDialogs& dialogs, TSectionExport what,
                                  const TExportCurveSource& curve)
{
    return Export(host, dialogs, CurveKindOf(what), TMsgIcon::None, curve);
}
