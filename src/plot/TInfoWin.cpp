#include "plot/TInfoWin.h"

#include "plot/TBoxPicture.h"
#include "plot/TPrintDate.h"
#include "plot/TSafeFormat.h"
#include "ui/THost.h"

#include <algorithm>
#include <cstring>

namespace {
// Wide enough for the second column's last tab stop and its value.
constexpr int kPageW = 780, kPageH = 1000;
constexpr TColor kRule{90, 90, 90};

TFontSpec Font(int height, bool bold, double scale)
{
    return TFontSpec{"Times New Roman", std::max(1, static_cast<int>(height * scale + 0.5)), bold, false};
}
// 12, 13 and 25 point in window units; the canvas takes font heights as line cells.
constexpr int kItemFont = 20, kHeadingFont = 22, kTitleFont = 42, kNotesFont = 22;

enum class TLineClass { Heading, Item, SubItem, Empty };

TLineClass Classify(std::string_view line)
{
    if (line.empty())
        return TLineClass::Empty;
    if (line[0] != ' ')
        return TLineClass::Heading;
    if (line.size() < 2 || line[1] != ' ')
        return TLineClass::Item;
    return TLineClass::SubItem;
}

// Calls f(line) for every line of the report; a last line without its end counts too.
template <typename F>
void ForEachLine(std::string_view text, F&& f)
{
    while (!text.empty()) {
        std::size_t end = text.find("\r\n");
        if (end == std::string_view::npos) {
            f(text);
            return;
        }
        f(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
}

void Rule(TCanvas& canvas, int x0, int x1, int y)
{
    canvas.SetPen(TLineStyle{kRule, 1, TDash::Solid});
    canvas.MoveTo(x0, y);
    canvas.LineTo(x1, y);
}

// Greedy word wrap inside a rectangle; what does not fit below is left out.
void WrapText(TCanvas& canvas, std::string_view text, const TRect& box)
{
    int lineH = std::max(1, canvas.TextHeight());
    int y = box.top;
    auto emit = [&](std::string_view line) {
        if (y + lineH > box.bottom)
            return false;
        canvas.Text(box.left, y, line, TAlign::Left | TAlign::Top);
        y += lineH;
        return true;
    };
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view para = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!para.empty() && para.back() == '\r')
            para.remove_suffix(1);
        if (para.empty() && !emit(""))
            return;
        while (!para.empty()) {
            // Longest prefix that fits, broken at a blank when there is one.
            std::size_t take = para.size();
            while (take > 1 && canvas.TextWidth(para.substr(0, take)) > box.Width())
                --take;
            if (take < para.size()) {
                std::size_t blank = para.substr(0, take + 1).rfind(' ');
                if (blank != std::string_view::npos && blank > 0)
                    take = blank;
            }
            if (!emit(para.substr(0, take)))
                return;
            para.remove_prefix(take);
            while (!para.empty() && para.front() == ' ')
                para.remove_prefix(1);
        }
    }
}
} // namespace

TInfoWin::TInfoWin(THost& host) : host_(host)
{
    placement.show = TShowState::Normal;
    placement.restored = TRect{0, 0, 600, 500};
    stored_.Take(placement);
    host_.CreateView(*this);
}

TInfoWin::~TInfoWin() { host_.DestroyView(*this); }

void TInfoWin::Clear()
{
    length_ = 0;
    text_[0] = '\0';
    title_.clear();
}

bool TInfoWin::Put(std::string_view text)
{
    std::size_t room = kTextSize - 1 - length_;
    std::size_t n = std::min(room, text.size());
    std::memcpy(text_ + length_, text.data(), n);
    length_ += n;
    text_[length_] = '\0';
    return n == text.size();
}

bool TInfoWin::Append(std::string_view text) { return Put(text); }

bool TInfoWin::AppendLine(std::string_view text)
{
    // The line end always fits behind what is kept of the text.
    std::size_t room = kTextSize - 1 - length_;
    if (room < 2)
        return false;
    bool whole = text.size() <= room - 2;
    Put(text.substr(0, room - 2));
    Put("\r\n");
    return whole;
}

bool TInfoWin::AppendFormatted(std::string_view format, double value)
{
    std::string s = SafeFormat(format, value);
    bool whole = s.size() < 100;
    return Put(std::string_view(s).substr(0, 99)) && whole;
}

bool TInfoWin::AppendFormattedLine(std::string_view format, double value)
{
    std::string s = SafeFormat(format, value);
    bool whole = s.size() < 100;
    return AppendLine(std::string_view(s).substr(0, 99)) && whole;
}

bool TInfoWin::AppendFormatted(std::string_view format, long value)
{
    std::string s = SafeFormat(format, value);
    bool whole = s.size() < 100;
    return Put(std::string_view(s).substr(0, 99)) && whole;
}

bool TInfoWin::AppendFormattedLine(std::string_view format, long value)
{
    std::string s = SafeFormat(format, value);
    bool whole = s.size() < 100;
    return AppendLine(std::string_view(s).substr(0, 99)) && whole;
}

void TInfoWin::Redraw() { host_.RedrawView(*this); }

void TInfoWin::SetNotes(std::string_view notes)
{
    notes_.assign(notes.substr(0, kNotesSize - 1));
    if (auto nul = notes_.find('\0'); nul != std::string::npos)
        notes_.resize(nul);
}

void TInfoWin::SavePlacement(TBinaryWriter& out) const
{
    TPlacementRecord record = stored_;
    record.Take(placement);
    record.Write(out);
    out.WriteText(notes_, kNotesSize);
}

bool TInfoWin::LoadPlacement(TBinaryReader& in)
{
    TPlacementRecord record;
    std::string notes;
    bool placed = record.Read(in);
    if (!in.ReadText(notes, kNotesSize) || !placed)
        return false;
    stored_ = record;
    record.ApplyTo(placement);
    SetNotes(notes);
    ApplyPlacement();
    return true;
}

void TInfoWin::SaveState(TBinaryWriter& out) const { out.WriteUInt8(IsMinimised() ? 1 : 0); }

bool TInfoWin::LoadState(TBinaryReader& in)
{
    std::uint8_t minimised = 0;
    if (!in.ReadUInt8(minimised))
        return false;
    placement.show = minimised == 1 ? TShowState::Minimised : TShowState::Normal;
    ApplyPlacement();
    return true;
}

void TInfoWin::ApplyPlacement()
{
    // The view takes the placement when it is made.
    host_.DestroyView(*this);
    host_.CreateView(*this);
}

std::string TInfoWin::ClipboardText() const
{
    std::string s = "\t" + title_ + "\r\n";
    s.append(text_, length_);
    if (!notes_.empty())
        s += "\r\nUser notes :\r\n" + notes_;
    if (s.size() > kClipboardSize - 1)
        s.resize(kClipboardSize - 1);
    return s;
}

void TInfoWin::Copy()
{
    if (!host_.SetClipboardText(ClipboardText()))
        host_.Message("Out of memory", "Copy window", TMsgButtons::Ok, TMsgIcon::Warning);
}

void TInfoWin::PaintReport(TCanvas& canvas, const TLayout& layout, int& firstEnd, int& secondEnd) const
{
    const double s = layout.fontScale;
    TBoxPicture::Draw(canvas, picture_, layout.pictureRight - TBoxPicture::kWidth, 50);
    canvas.SetTextColor(TColors::Black);
    canvas.SetFont(Font(kTitleFont, true, s));
    // Centred over the report; a title too long for that ("DOUBLE TUNED BASSREFLEX BOX 1")
    // moves right so that it starts where the report does instead of off the window.
    const int titleX = std::max(layout.titleX, layout.firstColumn + canvas.TextWidth(title_) / 2);
    canvas.Text(titleX, 1, title_, TAlign::Center | TAlign::Top);

    const int start = TBoxPicture::kHeight + 70;
    int x = layout.firstColumn, y = start;
    bool second = false, columnUsed = false;
    firstEnd = secondEnd = start;
    ForEachLine(Text(), [&](std::string_view line) {
        if (!second && line.find("Room and Cabinet") != std::string_view::npos) {
            if (columnUsed)
                Rule(canvas, x - 5, x + 275, y + 2);
            firstEnd = y + 2;
            x = layout.secondColumn;
            y = start;
            second = true;
            columnUsed = false;
        }
        columnUsed = true;
        switch (Classify(line)) {
        case TLineClass::Empty:
            canvas.SetFont(Font(kItemFont, false, s));
            y += canvas.TextHeight();
            return;
        case TLineClass::Heading:
            Rule(canvas, x - 5, x + 275, y + 2);
            y += 4;
            canvas.SetFont(Font(kHeadingFont, true, s));
            break;
        case TLineClass::Item:
        case TLineClass::SubItem: canvas.SetFont(Font(kItemFont, false, s)); break;
        }
        int px = x, previousEnd = x, piece = 0;
        while (true) {
            std::size_t tab = line.find('\t');
            std::string_view text = line.substr(0, tab);
            if (piece == 1)
                px = x + 80;
            else if (piece > 1)
                px += 70;
            // A long piece pushes the next one along instead of running into it.
            if (piece > 0 && previousEnd + 4 > px && previousEnd > x)
                px = previousEnd + 4;
            if (!text.empty()) {
                canvas.Text(px, y, text, TAlign::Left | TAlign::Top);
                previousEnd = px + canvas.TextWidth(text);
            }
            ++piece;
            if (tab == std::string_view::npos)
                break;
            line.remove_prefix(tab + 1);
        }
        y += canvas.TextHeight();
    });
    if (columnUsed)
        Rule(canvas, x - 5, x + 275, y + 2);
    (second ? secondEnd : firstEnd) = y + 2;
}

void TInfoWin::ScrollTo(int x, int y, int width, int height)
{
    int maxX = std::max(0, (kPageW - width) / 10), maxY = std::max(0, (kPageH - height) / 10);
    scrollX_ = std::clamp(x, 0, maxX);
    scrollY_ = std::clamp(y, 0, maxY);
}

void TInfoWin::Paint(TCanvas& canvas)
{
    int w = canvas.DeviceWidth(), h = canvas.DeviceHeight();
    if (w <= 0 || h <= 0)
        return;
    lastW_ = w;
    lastH_ = h;
    ScrollTo(scrollX_, scrollY_, w, h);
    double ox = scrollX_ * 10.0, oy = scrollY_ * 10.0;
    canvas.SetMapping(TMapping{ox, oy, double(w), double(h), 0, 0, double(w), double(h)});
    canvas.FillRect(TRect{int(ox), int(oy), int(ox) + w, int(oy) + h}, TColors::White);
    int firstEnd = 0, secondEnd = 0;
    PaintReport(canvas, ScreenLayout(), firstEnd, secondEnd);
    contentBottom_ = std::max(firstEnd, secondEnd) + 8;
}

void TInfoWin::KeyPress(TKey key)
{
    int x = scrollX_, y = scrollY_;
    switch (key) {
    case TKey::Up: --y; break;
    case TKey::Down: ++y; break;
    case TKey::Left: --x; break;
    case TKey::Right: ++x; break;
    case TKey::PageUp: y -= std::max(1, lastH_ / 10); break;
    case TKey::PageDown: y += std::max(1, lastH_ / 10); break;
    case TKey::Home: x = y = 0; break;
    case TKey::End: y = kPageH; break;
    default: return;
    }
    ScrollTo(x, y, lastW_, lastH_);
    host_.RedrawView(*this);
}

void TInfoWin::Print()
{
    if (IsMinimised() || length_ == 0)
        return;
    host_.PrintPages("Tonvek print job", 1, [this](TCanvas& canvas, int) { PaintPage(canvas); });
}

void TInfoWin::PaintPage(TCanvas& canvas)
{
    double pw = std::max(1, canvas.DeviceWidth()), ph = std::max(1, canvas.DeviceHeight());
    const double logicalW = 660, logicalH = 660 * ph / pw;
    canvas.SetMapping(TMapping{0, 0, logicalW, logicalH, 0, 0, pw, ph});
    const TLayout layout = PrintLayout();
    int firstEnd = 0, secondEnd = 0;
    PaintReport(canvas, layout, firstEnd, secondEnd);
    int y = std::max(firstEnd, secondEnd);
    canvas.SetPen(TLineStyle{kRule, 1, TDash::Solid});
    canvas.MoveTo(325, 52);
    canvas.LineTo(325, y);
    Rule(canvas, 45, 615, y);
    canvas.SetTextColor(TColors::Black);
    canvas.SetFont(Font(kHeadingFont, true, layout.fontScale));
    canvas.Text(50, y + 8, "User notes", TAlign::Left | TAlign::Top);
    canvas.SetFont(Font(kNotesFont, false, layout.fontScale));
    WrapText(canvas, notes_, TRect{53, y + 23, 580, y + 170});
    Rule(canvas, 45, 615, y + 180);
    canvas.SetFont(Font(kItemFont, false, layout.fontScale));
    std::string date = CurrentPrintDate();
    canvas.Text(600, 30, date, TAlign::Right | TAlign::Bottom);
}
