#include "plot/TPlotWindowEmbryo.h"

#include "ui/THost.h"

TPlotWindowEmbryo::TPlotWindowEmbryo(THost& host, std::string caption, int defaultHeight)
    : host_(host), caption_(std::move(caption)), defaultHeight_(defaultHeight > 0 ? defaultHeight : 290)
{
    placement.show = TShowState::Minimised;
    placement.restored = TRect{0, 0, 600, defaultHeight_};
    stored_.Take(placement);
}

void TPlotWindowEmbryo::CreateViewNow() { host_.CreateView(*this); }

TPlotWindowEmbryo::~TPlotWindowEmbryo() { host_.DestroyView(*this); }

bool TPlotWindowEmbryo::CloseRequested()
{
    host_.HideView(*this);
    RequestRefresh();
    return false;
}

void TPlotWindowEmbryo::SetCaption(std::string caption)
{
    if (caption == caption_)
        return;
    caption_ = std::move(caption);
    host_.RedrawView(*this);
}

void TPlotWindowEmbryo::SetNote(std::string_view note)
{
    note_.assign(note.substr(0, kNoteChars));
    // A note ends at its first NUL, as its stored form does.
    if (auto nul = note_.find('\0'); nul != std::string::npos)
        note_.resize(nul);
}

void TPlotWindowEmbryo::EditNote()
{
    std::string text = note_;
    if (!host_.InputText("User note", "Enter your notes", text, kNoteChars))
        return;
    SetNote(text);
    Redraw();
}

void TPlotWindowEmbryo::RestoreDefaultSize()
{
    if (placement.show == TShowState::Minimised || placement.show == TShowState::Maximised)
        return;
    placement.restored.right = placement.restored.left + 600;
    placement.restored.bottom = placement.restored.top + defaultHeight_;
    ApplyPlacement();
    RequestRefresh();
}

void TPlotWindowEmbryo::ResetPlot()
{
    placement.show = TShowState::Minimised;
    ApplyPlacement();
    note_.clear();
}

bool TPlotWindowEmbryo::ReadWindowRecord(TBinaryReader& in)
{
    TPlacementRecord record;
    std::string note;
    bool placed = record.Read(in);
    if (!in.ReadText(note, kNoteField) || !placed)
        return false;
    stored_ = record;
    record.ApplyTo(placement);
    SetNote(note);
    ApplyPlacement();
    return true;
}

void TPlotWindowEmbryo::WriteWindowRecord(TBinaryWriter& out) const
{
    TPlacementRecord record = stored_;
    record.Take(placement);
    record.Write(out);
    out.WriteText(note_, kNoteField);
}

void TPlotWindowEmbryo::Redraw()
{
    if (IsMinimised())
        return;
    host_.RedrawView(*this);
}

bool TPlotWindowEmbryo::IsMinimised() const { return host_.IsViewMinimised(*this); }

void TPlotWindowEmbryo::ApplyPlacement()
{
    // The host has no call to move a live view, so the view is made anew; it takes
    // the placement on creation.
    host_.DestroyView(*this);
    host_.CreateView(*this);
}
