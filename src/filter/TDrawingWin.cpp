#include "filter/TDrawingWin.h"

#include "filter/TNetA.h"
#include "filter/TNetBase.h"
#include "filter/TSchematicKit.h"
#include "plot/TPrintDate.h"
#include "ui/TCommandIds.h"
#include "ui/THost.h"

#include <algorithm>
#include <array>
#include <cstring>

TSchematicWin::TSchematicWin(THost& host, std::string caption, int logicalWidth, int logicalHeight)
    : host_(host), caption_(std::move(caption)), logicalW_(logicalWidth), logicalH_(logicalHeight)
{
    placement.show = TShowState::Minimised;
    placement.restored = TRect{0, 0, DefaultWidth(), DefaultHeight()};
}

TSchematicWin::~TSchematicWin() { host_.DestroyView(*this); }

bool TSchematicWin::CloseRequested()
{
    host_.Beep();
    return false;
}

int TSchematicWin::ScrollRangeX(int clientWidth) const
{
    const int steps = std::max(0, LogicalWidth() - clientWidth) / kScrollStep;
    return steps > 0 ? steps + 10 : 0;
}

int TSchematicWin::ScrollRangeY(int clientHeight) const
{
    const int steps = std::max(0, LogicalHeight() - clientHeight) / kScrollStep;
    return steps > 0 ? steps + 10 : 0;
}

void TSchematicWin::ScrollTo(int x, int y, int clientWidth, int clientHeight)
{
    scrollX_ = std::clamp(x, 0, ScrollRangeX(clientWidth));
    scrollY_ = std::clamp(y, 0, ScrollRangeY(clientHeight));
}

void TSchematicWin::DrawPage(TCanvas& canvas)
{
    canvas.SetTextColor(TColors::Black);
    DrawNetworks(canvas);
}

void TSchematicWin::Paint(TCanvas& canvas)
{
    const int w = canvas.DeviceWidth(), h = canvas.DeviceHeight();
    if (w <= 0 || h <= 0)
        return;
    lastW_ = w;
    lastH_ = h;
    ScrollTo(scrollX_, scrollY_, w, h);
    const double ox = scrollX_ * double(kScrollStep), oy = scrollY_ * double(kScrollStep);
    canvas.SetMapping(TMapping{ox, oy, double(w), double(h), 0, 0, double(w), double(h)});
    canvas.FillRect(TRect{int(ox), int(oy), int(ox) + w, int(oy) + h}, TColors::White);
    DrawPage(canvas);
}

void TSchematicWin::KeyPress(TKey key)
{
    int x = scrollX_, y = scrollY_;
    switch (key) {
    case TKey::Up: --y; break;
    case TKey::Down: ++y; break;
    case TKey::Left: --x; break;
    case TKey::Right: ++x; break;
    case TKey::PageUp: y -= std::max(1, lastH_ / kScrollStep); break;
    case TKey::PageDown: y += std::max(1, lastH_ / kScrollStep); break;
    case TKey::Home: x = y = 0; break;
    case TKey::End: y = LogicalHeight(); break;
    default: return;
    }
    ScrollTo(x, y, lastW_, lastH_);
    host_.RedrawView(*this);
}

void TSchematicWin::PaintPrintPage(TCanvas& canvas)
{
    const double pw = std::max(1, canvas.DeviceWidth()), ph = std::max(1, canvas.DeviceHeight());
    const double logicalW = LogicalWidth() + 20.0;
    canvas.SetMapping(TMapping{-10, -10, logicalW, logicalW * ph / pw, 0, 0, pw, ph});
    DrawPage(canvas);
    DrawPrintHeader(canvas);
}

bool TSchematicWin::HandlesCommand(int id) const { return id == TCmd::CopyWindow || id == TCmd::PrintWindow; }

bool TSchematicWin::HandleCommand(int id)
{
    if (id == TCmd::CopyWindow) {
        Copy();
        return true;
    }
    if (id == TCmd::PrintWindow) {
        (void)Print();
        return true;
    }
    return false;
}

void TSchematicWin::Copy()
{
    if (!host_.CopyViewPicture(*this))
        host_.Message("Out of memory", "Copy window", TMsgButtons::Ok, TMsgIcon::Warning);
}

bool TSchematicWin::Print()
{
    if (host_.IsViewMinimised(*this))
        return false;
    TWaitCursor wait(host_);
    return host_.PrintPages("Tonvek print job", 1, [this](TCanvas& canvas, int) { PaintPrintPage(canvas); });
}

void TSchematicWin::Redraw()
{
    if (placement.show == TShowState::Hidden || host_.IsViewMinimised(*this))
        return;
    host_.RedrawView(*this);
}

bool TSchematicWin::ReadRecord(TBinaryReader& in)
{
    TPlacementRecord record;
    if (!record.Read(in))
        return false;
    stored_ = record;
    record.ApplyTo(placement);
    // Files written before these windows existed say "hidden" (all zeros); a window
    // that cannot be closed is never hidden, so it opens minimised instead.
    if (placement.show == TShowState::Hidden)
        placement.show = TShowState::Minimised;
    ApplyPlacement();
    return true;
}

void TSchematicWin::WriteRecord(TBinaryWriter& out) const
{
    TPlacementRecord record = stored_;
    record.Take(placement);
    // Still minimised as it opened from a "hidden" record: written back as read.
    if (stored_.show == 0 && placement.show == TShowState::Minimised)
        record = stored_;
    record.Write(out);
}

void TSchematicWin::ResetWindow()
{
    stored_ = TPlacementRecord{};
    placement.show = TShowState::Minimised;
    ApplyPlacement();
}

void TSchematicWin::ApplyPlacement()
{
    // A live view cannot be moved: it is made anew and takes the placement.
    host_.DestroyView(*this);
    host_.CreateView(*this);
}

// --- The simple project's window ---

TDrawingWin::TDrawingWin(THost& host, std::vector<TNetBase*> nets, bool threeWay, std::function<std::string()> fileName)
    : TSchematicWin(host, "Schematic", 750, threeWay ? 1100 : 800), nets_(std::move(nets)), threeWay_(threeWay),
      fileName_(std::move(fileName))
{
    Host().CreateView(*this);
}

void TDrawingWin::DrawNetworks(TCanvas& canvas)
{
    for (TNetBase* net : nets_)
        net->DrawSchematic(canvas);
    for (TNetBase* net : nets_)
        net->DrawLabels(canvas);
}

void TDrawingWin::DrawPrintHeader(TCanvas& canvas)
{
    const int w = LogicalWidth();
    canvas.SetTextColor(TColors::Black);
    canvas.SetFont(TSchem::TitleFont());
    canvas.Text(w / 2, 10, threeWay_ ? "3 WAY FILTER" : "2 WAY FILTER", TAlign::Center | TAlign::Top);
    canvas.SetFont(TSchem::LabelFont());
    canvas.Text(w - 40, 40, CurrentPrintDate(), TAlign::Right | TAlign::Top);
    const std::string name = fileName_ ? fileName_() : std::string();
    if (!name.empty())
        canvas.Text(40, 40, TSchem::Fit(canvas, "Filename:   " + TSchem::BaseName(name), w / 2),
                    TAlign::Left | TAlign::Top);
}

// --- An advanced network's window ---

TDrawingWinA::TDrawingWinA(THost& host, TNetA& net, std::function<std::string()> fileName)
    : TSchematicWin(host, net.Name(), 850, 1200), net_(net), fileName_(std::move(fileName))
{
    net_.schematicNote = &note_;
    Host().CreateView(*this);
}

TDrawingWinA::~TDrawingWinA() { net_.schematicNote = nullptr; }

int TDrawingWinA::LogicalHeight() const { return std::max(TSchematicWin::LogicalHeight(), net_.SchematicBottom()); }

void TDrawingWinA::SetNote(std::string_view note)
{
    note = note.substr(0, std::min(note.find('\0'), kNoteBytes - 1));
    note_.assign(note);
    noteBytes_.fill(0);
    std::memcpy(noteBytes_.data(), note_.data(), note_.size());
}

void TDrawingWinA::EditNote()
{
    std::string text = note_;
    if (!Host().InputText("User note", "Enter your notes", text, int(kNoteBytes - 1)))
        return;
    SetNote(text);
    Redraw();
}

bool TDrawingWinA::HandlesCommand(int id) const { return id == TCmd::UserNote || TSchematicWin::HandlesCommand(id); }

bool TDrawingWinA::HandleCommand(int id)
{
    if (id == TCmd::UserNote) {
        EditNote();
        return true;
    }
    return TSchematicWin::HandleCommand(id);
}

bool TDrawingWinA::ReadRecord(TBinaryReader& in)
{
    // The whole record first, so that a cut one changes nothing.
    std::array<std::uint8_t, kRecordBytes> bytes{};
    if (!in.ReadBytes(bytes.data(), bytes.size()))
        return false;
    TBinaryReader part(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + TPlacementRecord::kBytes));
    if (!TSchematicWin::ReadRecord(part))
        return false;
    const char* text = reinterpret_cast<const char*>(bytes.data() + TPlacementRecord::kBytes);
    SetNote(std::string_view(text, strnlen(text, kNoteBytes)));
    std::copy(bytes.begin() + TPlacementRecord::kBytes, bytes.end(), noteBytes_.begin());
    return true;
}

void TDrawingWinA::WriteRecord(TBinaryWriter& out) const
{
    TSchematicWin::WriteRecord(out);
    out.WriteBytes(noteBytes_.data(), noteBytes_.size());
}

void TDrawingWinA::ResetWindow()
{
    SetNote("");
    TSchematicWin::ResetWindow();
}

void TDrawingWinA::DrawNetworks(TCanvas& canvas)
{
    net_.DrawSchematic(canvas);
    net_.DrawLabels(canvas);
}

void TDrawingWinA::DrawPrintHeader(TCanvas& canvas)
{
    canvas.SetTextColor(TColors::Black);
    canvas.SetFont(TSchem::LabelFont());
    const int w = LogicalWidth();
    // Above the title, in the page margin.
    canvas.Text(w - 40, -8, CurrentPrintDate(), TAlign::Right | TAlign::Top);
    const std::string name = fileName_ ? fileName_() : std::string();
    if (!name.empty())
        canvas.Text(20, -8, TSchem::Fit(canvas, "Filename:   " + TSchem::BaseName(name), w / 2 - 40),
                    TAlign::Left | TAlign::Top);
}
