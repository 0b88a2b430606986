#pragma once
// The child window part of every plot: caption, default size, user note, the 70-byte
// window record of project files, and hiding instead of closing.

#include "core/TBinaryStream.h"
#include "plot/TPlacementRecord.h"
#include "ui/TWindowModel.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>

class THost;

class TPlotWindowEmbryo : public TWindowModel {
public:
    static constexpr int kNoteChars = 49;
    static constexpr std::size_t kNoteField = 50;
    static constexpr std::size_t kRecordBytes = TPlacementRecord::kBytes + kNoteField;

    // The view is made by the derived class once its overrides are in place (a new
    // view may be activated at once, and the activation must reach the plot).
    TPlotWindowEmbryo(THost& host, std::string caption, int defaultHeight);
    ~TPlotWindowEmbryo() override;
    TPlotWindowEmbryo(const TPlotWindowEmbryo&) = delete;
    TPlotWindowEmbryo& operator=(const TPlotWindowEmbryo&) = delete;

    std::string Title() const override { return caption_; }
    int DefaultWidth() const override { return 600; }
    int DefaultHeight() const override { return defaultHeight_; }
    // Hides the window and asks the project to refresh its window list.
    bool CloseRequested() override;

    const std::string& Caption() const { return caption_; }
    // A window whose caption says what it shows (the room window's two modes, the
    // transient response by kind); the view takes the new title with its next redraw.
    void SetCaption(std::string caption);
    const std::string& Note() const { return note_; }
    void SetNote(std::string_view note);
    // The one-line input "User note"; OK stores the text and redraws.
    void EditNote();

    // 600 wide and the default height, unless minimised or maximised.
    virtual void RestoreDefaultSize();
    // Minimises the window and empties the note.
    void ResetPlot();

    // The window record: placement, then the 50-byte note. False when the note part
    // is incomplete; nothing is applied then.
    [[nodiscard]] virtual bool ReadWindowRecord(TBinaryReader& in);
    virtual void WriteWindowRecord(TBinaryWriter& out) const;

    // Repaints the view unless it is minimised or hidden.
    virtual void Redraw();
    bool IsMinimised() const;

    // The project's refresh request (sent when the window was hidden or resized to
    // its default size).
    std::function<void()> onRefreshRequest;

protected:
    THost& Host() const { return host_; }
    // Gives the view the model's placement (the view is rebuilt with it).
    void ApplyPlacement();
    // Makes the view, minimised as every plot starts.
    void CreateViewNow();
    void RequestRefresh()
    {
        if (onRefreshRequest)
            onRefreshRequest();
    }

private:
    THost& host_;
    std::string caption_;
    std::string note_;
    int defaultHeight_;
    TPlacementRecord stored_; // values of the last record read, written back unchanged
};
