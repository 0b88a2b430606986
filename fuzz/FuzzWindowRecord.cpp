// The window records of project files: a plot window's 70-byte record (ten int16
// placement values and a 50-byte note) and the information window's placement with
// its 600-byte notes and its state byte. A record that is taken places the headless
// view, paints, and writes back to itself.

#include "FuzzSupport.h"

#include "core/TBinaryStream.h"
#include "plot/TInfoWin.h"
#include "plot/TPlacementRecord.h"
#include "plot/TPlotLogXLinY.h"
#include "plot/TPlotStyles.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    THeadlessHost host;
    {
        TPlacementRecord record;
        TBinaryReader in(bytes);
        if (record.Read(in)) {
            TViewPlacement placement;
            record.ApplyTo(placement);
            fuzz::Check(placement.restored.right > placement.restored.left &&
                            placement.restored.bottom > placement.restored.top,
                        "a placed window has an area");
        }
    }
    {
        const TPlotStyles styles;
        TPlotLogXLinY plot(host, "SPL", styles, nullptr, 0, 290, 10, 500);
        TBinaryReader in(bytes);
        if (plot.ReadWindowRecord(in)) {
            for (auto [w, h] : {std::pair{600, 290}, std::pair{1, 1}, std::pair{4000, 3000}}) {
                TRecordingCanvas canvas(w, h);
                plot.Paint(canvas);
            }
            TBinaryWriter out;
            plot.WriteWindowRecord(out);
            fuzz::Check(out.Size() == TPlotWindowEmbryo::kRecordBytes, "plot record size");
            TPlotLogXLinY back(host, "SPL", styles, nullptr, 0, 290, 10, 500);
            TBinaryReader again(out.Bytes());
            fuzz::Check(back.ReadWindowRecord(again), "a written plot record reads back");
            TBinaryWriter twice;
            back.WriteWindowRecord(twice);
            fuzz::Check(twice.Bytes() == out.Bytes(), "a plot record reads back unchanged");
        }
    }
    {
        TInfoWin info(host);
        TBinaryReader in(bytes);
        if (info.LoadPlacement(in) && info.LoadState(in)) {
            TRecordingCanvas canvas;
            info.Paint(canvas);
            TBinaryWriter out;
            info.SavePlacement(out);
            info.SaveState(out);
            fuzz::Check(out.Size() == TInfoWin::kPlacementBytes + 1, "information window record size");
            TInfoWin back(host);
            TBinaryReader again(out.Bytes());
            fuzz::Check(back.LoadPlacement(again) && back.LoadState(again), "a written placement reads back");
        }
    }
    return 0;
}
