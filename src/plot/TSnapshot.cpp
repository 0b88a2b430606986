#include "plot/TSnapshot.h"

#include "core/TBinaryStream.h"
#include "plot/TPrintDate.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const TLineStyle kSlotStyles[TSnapshot::kSlots] = {
    {TColors::Black, 3, TDash::Solid}, {TColors::Blue, 3, TDash::Dash},          {TColors::Green, 3, TDash::Dot},
    {TColors::Red, 3, TDash::DashDot}, {TColors::Magenta, 3, TDash::DashDotDot},
};

// A pixel position far outside the canvas stays representable (a frequency of 0 or an
// extreme level must not overflow the conversion).
int Clamped(double v)
{
    if (!(v > -30000))
        return -30000;
    return v < 30000 ? static_cast<int>(v) : 30000;
}

} // namespace

TSnapshot::TSnapshot(THost& host, const TPlotStyles& styles, TCursorDialog* cursor, TRangeSource range)
    : TPlotLogXLinY(host, "Snapshots", styles, cursor, 117, 380, 10, 512), rangeSource_(std::move(range))
{
    SetXUnit("Hz");
    SetYUnit("dB");
    Reset();
}

TSnapshot::~TSnapshot() = default;

const TLineStyle& TSnapshot::SlotStyle(int slot) { return kSlotStyles[std::clamp(slot, 0, kSlots - 1)]; }

std::string TSnapshot::CutText(const std::string& text)
{
    std::string cut = text.substr(0, std::min(text.find('\0'), kTextField - 1));
    return cut;
}

void TSnapshot::SetSnapshotCaption(const std::string& caption)
{
    snapCaption_ = CutText(caption);
    SetCaption(snapCaption_);
}

void TSnapshot::Reset()
{
    start = rangeSource_.start ? rangeSource_.start() : 20;
    stop = rangeSource_.stop ? rangeSource_.stop() : 20000;
    range = 30;
    selected = 0;
    hideNumbers = false;
    for (TSlot& s : slotData) {
        s.label.clear();
        s.hasData = false;
        s.visible = false;
        s.offset = 0;
    }
    SetSnapshotCaption("Snapshot");
    DataReady();
}

bool TSnapshot::CopyInto(int slot, const double* frequency, const double* level, int count)
{
    if (slot < 0 || slot >= kSlots || !frequency || !level || count <= 0)
        return false;
    TSlot& s = slotData[static_cast<std::size_t>(slot)];
    int n = std::min(count, kPoints);
    std::copy(frequency, frequency + n, s.frequency.begin());
    std::copy(level, level + n, s.level.begin());
    s.count = n;
    s.hasData = true;
    s.visible = true;
    DataReady();
    return true;
}

void TSnapshot::WriteFile(TBinaryWriter& out, std::int16_t version) const
{
    out.WriteInt16(version);
    out.WriteInt32(start);
    out.WriteInt32(stop);
    out.WriteInt32(range);
    for (const TSlot& s : slotData)
        out.WriteUInt8(s.hasData ? 1 : 0);
    for (const TSlot& s : slotData)
        out.WriteUInt8(s.visible ? 1 : 0);
    for (const TSlot& s : slotData)
        out.WriteInt16(s.offset);
    out.WriteUInt8(hideNumbers ? 1 : 0);
    for (const TSlot& s : slotData)
        out.WriteText(s.label, kTextField);
    out.WriteText(snapCaption_, kTextField);
    for (const TSlot& s : slotData)
        for (double f : s.frequency)
            out.WriteDouble(f);
    for (const TSlot& s : slotData)
        for (double l : s.level)
            out.WriteDouble(l);
    for (const TSlot& s : slotData)
        out.WriteInt32(s.count);
    out.WriteText(Note(), kNoteField);
}

bool TSnapshot::ReadFile(TBinaryReader& in)
{
    if (in.Remaining() < kFileBytes)
        return false;
    std::int16_t version = 0; // written for older readers, not needed here
    std::int32_t newStart = 0, newStop = 0, newRange = 0;
    std::array<TSlot, kSlots> read{};
    std::array<std::uint8_t, kSlots> has{}, shown{};
    std::uint8_t hide = 0;
    std::string caption, note;
    bool ok = in.ReadInt16(version) && in.ReadInt32(newStart) && in.ReadInt32(newStop) && in.ReadInt32(newRange) &&
              in.ReadBytes(has.data(), has.size()) && in.ReadBytes(shown.data(), shown.size());
    for (TSlot& s : read)
        ok = ok && in.ReadInt16(s.offset);
    ok = ok && in.ReadUInt8(hide);
    for (TSlot& s : read)
        ok = ok && in.ReadText(s.label, kTextField);
    ok = ok && in.ReadText(caption, kTextField);
    for (TSlot& s : read)
        for (double& f : s.frequency)
            ok = ok && in.ReadDouble(f);
    for (TSlot& s : read)
        for (double& l : s.level)
            ok = ok && in.ReadDouble(l);
    for (TSlot& s : read)
        ok = ok && in.ReadInt32(s.count);
    ok = ok && in.ReadText(note, kNoteField);
    if (!ok)
        return false;
    // Values the dialog never writes would make a paint loop over a bad count or put
    // NaN into the axes.
    if (newStart < 1 || newStop > kMaxFrequency || newStop < newStart + 10 || newRange < 1 || newRange > kMaxRange)
        return false;
    for (std::size_t k = 0; k < read.size(); ++k) {
        TSlot& s = read[k];
        if (s.count < 0 || s.count > kPoints)
            return false;
        for (int i = 0; i < s.count; ++i) {
            double f = s.frequency[static_cast<std::size_t>(i)], l = s.level[static_cast<std::size_t>(i)];
            if (!std::isfinite(f) || !(f > 0) || !std::isfinite(l))
                return false;
        }
        s.hasData = has[k] != 0;
        s.visible = shown[k] != 0;
        s.label = CutText(s.label);
    }
    start = newStart;
    stop = newStop;
    range = newRange;
    hideNumbers = hide != 0;
    slotData = read;
    SetSnapshotCaption(caption);
    SetNote(note);
    DataReady();
    Redraw();
    return true;
}

bool TSnapshot::SaveFile(const std::string& path, std::int16_t version) const
{
    TBinaryWriter out;
    WriteFile(out, version);
    return out.SaveTo(path);
}

bool TSnapshot::LoadFile(const std::string& path)
{
    TBinaryReader in;
    if (path.empty() || !in.Open(path, kFileBytes))
        return false;
    return ReadFile(in);
}

double TSnapshot::TopLevel() const
{
    double top = -10;
    for (const TSlot& s : slotData) {
        if (!s.visible)
            continue;
        for (int i = 0; i < s.count; ++i)
            top = std::max(top, s.offset + s.level[static_cast<std::size_t>(i)]);
    }
    return top;
}

int TSnapshot::NumberPoint(int slot) const
{
    const TSlot& s = slotData[static_cast<std::size_t>(std::clamp(slot, 0, kSlots - 1))];
    int best = -1, bestY = 0;
    for (int i = 0; i < s.count; ++i) {
        double f = s.frequency[static_cast<std::size_t>(i)];
        if (f < start || f > stop)
            continue;
        // The topmost point on screen; the first one wins a tie.
        const int y = YOf(s.offset + s.level[static_cast<std::size_t>(i)]);
        if (best < 0 || y < bestY) {
            best = i;
            bestY = y;
        }
    }
    return best;
}

void TSnapshot::ComputeAxes()
{
    xMinimum = start;
    xMaximum = stop;
    yMaximum = TopLevel();
    yMinimum = yMaximum - range;
    TPlotLogXLinY::ComputeAxes();
}

void TSnapshot::BeginPlotPaint(TCanvas& canvas)
{
    const int w = canvas.DeviceWidth(), h = MappedHeight(canvas.DeviceHeight());
    canvas.SetMapping(TMapping{0, 0, double(kCanvasW), double(kCanvasH), 0, 0, double(w), double(h > 0 ? h : 1)});
    canvas.SetTextColor(styles_.textColor);
    // The legend rows lie below the mapped plot: the whole window is cleared.
    canvas.FillRect(TRect{0, 0, kCanvasW, 2 * kCanvasH}, styles_.background);
    auto px = [](int size, double fraction) { return static_cast<int>(size * fraction + 1e-7); };
    clipPixels_ = TRect{px(w, 0.09583333333333334), px(h, 0.08620689655172414), px(w, 0.9125),
                        px(h, 0.7758620689655172)};
    cursorPixels_ = CursorRectFor(w, h);
}

void TSnapshot::SelectPlotClip(TCanvas& canvas, bool printer)
{
    canvas.SetClip(printer ? TRect{115, 50, 1105, 445} : TRect{115, 50, 1095, 450});
}

void TSnapshot::PaintAxes(TCanvas& canvas)
{
    TPlotLogXLinY::PaintAxes(canvas);
    PaintLegend(canvas);
}

void TSnapshot::PaintLegend(TCanvas& canvas)
{
    canvas.SetFont(styles_.textFont);
    int k = 0;
    char text[40];
    for (int i = 0; i < kSlots; ++i) {
        const TSlot& s = slotData[static_cast<std::size_t>(i)];
        if (!s.visible)
            continue;
        const int y = 550 + 30 * k++;
        if (!hideNumbers) {
            std::snprintf(text, sizeof text, "%d", i + 1);
            canvas.Text(70, y + 5, text, TAlign::Left | TAlign::Baseline);
        }
        canvas.SetPen(SlotStyle(i));
        Line(canvas, 90, y, 190, y);
        canvas.Text(210, y + 5, s.label, TAlign::Left | TAlign::Baseline);
        std::snprintf(text, sizeof text, "Offset : %ddB", int(s.offset));
        canvas.Text(1020, y + 5, text, TAlign::Left | TAlign::Baseline);
    }
    canvas.SetPen(styles_.framePen);
}

int TSnapshot::XOf(double f) const
{
    double lx = f > 0 ? std::log10(f) : -1e9;
    return Clamped(std::floor((lx - LowerDecade()) * XScale() + 0.5) + 120);
}

int TSnapshot::YOf(double level) const { return Clamped(std::floor((yMaximum - level) * yScale_ + 0.5) + 70); }

void TSnapshot::PaintCurves(TCanvas& canvas, bool printer)
{
    SelectPlotClip(canvas, printer);
    for (int i = 0; i < kSlots; ++i) {
        const TSlot& s = slotData[static_cast<std::size_t>(i)];
        if (!s.visible || s.count <= 0)
            continue;
        for (int p = 0; p < s.count; ++p) {
            const auto u = static_cast<std::size_t>(p);
            points_[u] = TPoint{XOf(s.frequency[u]), YOf(s.offset + s.level[u])};
        }
        canvas.SetPen(SlotStyle(i));
        canvas.Polyline(points_.data(), s.count);
    }
    if (!hideNumbers) {
        canvas.SetPen(styles_.framePen);
        canvas.SetFont(styles_.textFont);
        char text[16];
        for (int i = 0; i < kSlots; ++i) {
            const TSlot& s = slotData[static_cast<std::size_t>(i)];
            const int at = NumberPoint(i);
            if (!s.hasData || !s.visible || at < 0)
                continue;
            const auto u = static_cast<std::size_t>(at);
            const int x = XOf(s.frequency[u]), y = YOf(s.offset + s.level[u]);
            canvas.Ellipse(TRect{x - 20, y - 20, x + 20, y + 20});
            std::snprintf(text, sizeof text, "%d", i + 1);
            canvas.Text(x, y - 12, text, TAlign::Center | TAlign::Top);
        }
    }
    ReleasePlotClip(canvas);
}

