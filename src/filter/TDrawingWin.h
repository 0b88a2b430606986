#pragma once
// The schematic windows of a filter project. They draw nothing of their own: painting
// asks the networks to draw themselves (DrawSchematic, then DrawLabels) on a page of
// fixed logical size that the window scrolls over in steps of 10 pixels. Both copy and
// print; the advanced window (one per network) also keeps a user note. The simple one
// (TDrawingWin) shows every network of the project one band below the other.

#include "core/TBinaryStream.h"
#include "plot/TPlacementRecord.h"
#include "ui/TWindowModel.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class THost;
class TNetA;
class TNetBase;

class TSchematicWin : public TWindowModel {
public:
    static constexpr int kScrollStep = 10;

    TSchematicWin(THost& host, std::string caption, int logicalWidth, int logicalHeight);
    ~TSchematicWin() override;
    TSchematicWin(const TSchematicWin&) = delete;
    TSchematicWin& operator=(const TSchematicWin&) = delete;

    std::string Title() const override { return caption_; }
    void Paint(TCanvas& canvas) override;
    void KeyPress(TKey key) override;
    // The windows live as long as their owner: closing only beeps.
    bool CloseRequested() override;

    int LogicalWidth() const { return logicalW_; }
    // The page height: the fixed one, or more when the drawing reached further down.
    virtual int LogicalHeight() const { return logicalH_; }

    // Scroll ranges for a client size, in steps: max(0, page - client) / 10, plus 10
    // when above 0.
    int ScrollRangeX(int clientWidth) const;
    int ScrollRangeY(int clientHeight) const;
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    void ScrollTo(int x, int y, int clientWidth, int clientHeight);

    // The page as the networks draw it, unscrolled, onto a canvas already mapped.
    void DrawPage(TCanvas& canvas);
    // One printed page: the drawing scaled so that the page width holds the logical
    // width plus 20, then the header.
    void PaintPrintPage(TCanvas& canvas);

    // Copy (10104), print (10106) and, in the advanced window, the user note (10114).
    virtual bool HandlesCommand(int id) const;
    virtual bool HandleCommand(int id);
    void Copy();
    bool Print();
    // Repaints unless the window is minimised or hidden.
    void Redraw();

    // The window record: the ten placement values.
    [[nodiscard]] virtual bool ReadRecord(TBinaryReader& in);
    virtual void WriteRecord(TBinaryWriter& out) const;
    // Forgets placement and note as a new project does.
    virtual void ResetWindow();

protected:
    THost& Host() const { return host_; }
    virtual void DrawNetworks(TCanvas& canvas) = 0;
    virtual void DrawPrintHeader(TCanvas& canvas) = 0;
    void ApplyPlacement();

private:
    THost& host_;
    std::string caption_;
    int logicalW_, logicalH_;
    int scrollX_ = 0, scrollY_ = 0;
    int lastW_ = 600, lastH_ = 400;
    TPlacementRecord stored_;
};

// The simple project's window: every network in use, bass first.
class TDrawingWin : public TSchematicWin {
public:
    static constexpr std::size_t kRecordBytes = TPlacementRecord::kBytes;

    // fileName gives the project's file name for the printed header ("" when none).
    TDrawingWin(THost& host, std::vector<TNetBase*> nets, bool threeWay, std::function<std::string()> fileName);

protected:
    void DrawNetworks(TCanvas& canvas) override;
    void DrawPrintHeader(TCanvas& canvas) override;

private:
    std::vector<TNetBase*> nets_;
    bool threeWay_;
    std::function<std::string()> fileName_;
};

// An advanced network's window, with the note the network draws under its circuit.
class TDrawingWinA : public TSchematicWin {
public:
    static constexpr std::size_t kNoteBytes = 600;
    static constexpr std::size_t kRecordBytes = TPlacementRecord::kBytes + kNoteBytes;

    TDrawingWinA(THost& host, TNetA& net, std::function<std::string()> fileName);
    ~TDrawingWinA() override;

    int DefaultWidth() const override { return 600; }
    int DefaultHeight() const override { return 400; }
    int LogicalHeight() const override;

    const std::string& Note() const { return note_; }
    // Cut to 599 characters, at the first zero byte.
    void SetNote(std::string_view note);
    // The note input; OK stores the text and repaints.
    void EditNote();

    bool HandlesCommand(int id) const override;
    bool HandleCommand(int id) override;
    // Placement, then the note as 600 bytes, zero-terminated. A short record changes
    // nothing.
    [[nodiscard]] bool ReadRecord(TBinaryReader& in) override;
    void WriteRecord(TBinaryWriter& out) const override;
    void ResetWindow() override;

protected:
    void DrawNetworks(TCanvas& canvas) override;
    void DrawPrintHeader(TCanvas& canvas) override;

private:
    TNetA& net_;
    std::function<std::string()> fileName_;
    std::string note_;
    // The note field as read (bytes after the terminator included), so that a file is
    // written back as it was until the note is edited.
    std::array<std::uint8_t, kNoteBytes> noteBytes_{};
};
