// The bass reflex box's report and the standing waves of its port.

#include "TBassReflexBox.h"

#include "TBoxReport.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TElementConstants.h"
#include "box/elements/TPortStandingWaves.h"
#include "ui/TNumberText.h"

#include <cmath>

void TBassReflexBox::BuildReport()
{
    TBoxReport& report = Report();
    std::string note = report.Note();
    report.Clear();
    report.SetNote(note);
    report.SetTitle("BASSREFLEX BOX");
    ReportFileName();
    std::vector<std::string> lines;
    BoxVolume().Report(lines);
    port_.Report(lines);
    report.Add(lines);
    ReportDriverSetupRoom(TRoomCounts{front_.numberOfDrivers, 0, port_.n, 0});
    report.Add("Additional details:");
    if (minus3dB != 0)
        report.Add(TNumberText::FormatDouble("  -3dB point: \t%3.2f Hz", minus3dB));
    // What a builder checks before cutting the port: how fast the air moves at the
    // drive level of the setup (chuffing starts around 17 m/s), and where the pipe's
    // first standing wave sits.
    const int n = PointCount();
    int fastest = 0;
    for (int i = 1; i < n; ++i)
        if (portAirSpeed[static_cast<std::size_t>(i)] > portAirSpeed[static_cast<std::size_t>(fastest)])
            fastest = i;
    if (n > 0) {
        const double speed = portAirSpeed[static_cast<std::size_t>(fastest)];
        report.Add(TNumberText::FormatDouble(" Max. air speed:\t%3.1f m/s", speed) +
                   TNumberText::FormatDouble(" at %3.1f Hz", Grid().Frequency(fastest)));
    }
    if (const double pipe = PipeResonance(); pipe > 0)
        report.Add(TNumberText::FormatDouble(" Pipe resonance:\t%3.0f Hz", pipe));
    report.Add("");
    ShowReport();
}

double TBassReflexBox::PipeResonance() const
{
    return port_.L > 0 ? TElementConstants::kSoundSpeed / (2.0 * port_.L) : 0.0;
}

double TBassReflexBox::PortUpperMinus3dB() const
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    if (n < 2)
        return 0;
    int peak = 0;
    for (int i = 1; i < n; ++i)
        if (portSpl[static_cast<std::size_t>(i)] > portSpl[static_cast<std::size_t>(peak)])
            peak = i;
    const double reference = portSpl[static_cast<std::size_t>(peak)] - 3.0;
    for (int i = peak + 1; i < n; ++i) {
        const double a = portSpl[static_cast<std::size_t>(i)];
        if (a >= reference)
            continue;
        const double b = portSpl[static_cast<std::size_t>(i - 1)];
        const double c = (b - reference) / (b - a); // b > reference > a
        return (1.0 - c) * grid.Frequency(i - 1) + c * grid.Frequency(i);
    }
    return 0;
}

void TBassReflexBox::ComputeStandingWaves()
{
    const TFreqGrid& grid = Grid();
    const int n = grid.Count();
    PortStandingWaves(TElementGrid::Of(grid), portSpl.data(), PortUpperMinus3dB(), port_.L, portModes_.data());
    for (int i = 0; i < n; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const double added = portModes_[j] - portSpl[j];
        if (!(added > 0)) {
            splModes[j] = splTotal[j];
            continue;
        }
        // The port's share grows by the added level with its phase kept; the change of
        // the sum applies to the total as it stands (imported data included).
        const TComplex pd = front_.auxPressure[j], pp = port_.pressure[j];
        const TComplex ringing = pp * std::pow(10.0, added / 20.0);
        const double before = SquaredMagnitudeOf(pd - pp), after = SquaredMagnitudeOf(pd - ringing);
        splModes[j] = before > 0 && after > 0 ? splTotal[j] + 10.0 * std::log10(after / before) : splTotal[j];
    }
}
