#pragma once
// The text report of a box project: a picture of the box type, a title and lines of
// parameters laid out in two columns at tab stops. The project clears and refills it
// after every calculation; placement, minimised state and the user's notes are kept in
// the project file.

#include "core/TBinaryStream.h"
#include "plot/TPlacementRecord.h"
#include "ui/TWindowModel.h"

#include <string>
#include <string_view>

class THost;

class TInfoWin : public TWindowModel {
public:
    static constexpr std::size_t kTextSize = 10000;  // report buffer, terminator included
    static constexpr std::size_t kNotesSize = 600;   // notes field, terminator included
    static constexpr std::size_t kClipboardSize = 10000;
    static constexpr std::size_t kPlacementBytes = TPlacementRecord::kBytes + kNotesSize;

    // Screen and page layout of the report.
    struct TLayout {
        int pictureRight = 570;
        int titleX = 300;
        int firstColumn = 10;
        int secondColumn = 290;
        double fontScale = 1.0;
    };
    static TLayout ScreenLayout() { return TLayout{}; }
    static TLayout PrintLayout() { return TLayout{610, 330, 50, 330, 0.83}; }

    explicit TInfoWin(THost& host);
    ~TInfoWin() override;
    TInfoWin(const TInfoWin&) = delete;
    TInfoWin& operator=(const TInfoWin&) = delete;

    // Writers, in the order clear, picture, title, lines, redraw. The append calls
    // return false when the text did not fit and was cut.
    void Clear();
    void SetPicture(int id) { picture_ = id; }
    void SetTitle(std::string_view title) { title_.assign(title.substr(0, 99)); }
    bool Append(std::string_view text);
    bool AppendLine(std::string_view text);
    bool AppendFormatted(std::string_view format, double value);
    bool AppendFormattedLine(std::string_view format, double value);
    bool AppendFormatted(std::string_view format, long value);
    bool AppendFormattedLine(std::string_view format, long value);
    bool AppendFormatted(std::string_view format, int value) { return AppendFormatted(format, long(value)); }
    bool AppendFormattedLine(std::string_view format, int value) { return AppendFormattedLine(format, long(value)); }
    void Redraw();

    std::string_view Text() const { return std::string_view(text_, length_); }
    const std::string& ReportTitle() const { return title_; }
    int Picture() const { return picture_; }
    const std::string& Notes() const { return notes_; }
    void SetNotes(std::string_view notes);

    // Placement block: ten placement values and the 600-byte notes field. Load fails,
    // changing nothing, when the block is short.
    void SavePlacement(TBinaryWriter& out) const;
    [[nodiscard]] bool LoadPlacement(TBinaryReader& in);
    // State block: one byte, 1 when minimised.
    void SaveState(TBinaryWriter& out) const;
    [[nodiscard]] bool LoadState(TBinaryReader& in);
    bool IsMinimised() const { return placement.show == TShowState::Minimised; }

    // The report as plain text on the clipboard, and on one printed page.
    std::string ClipboardText() const;
    void Copy();
    void Print();

    // TWindowModel
    std::string Title() const override { return "Information"; }
    // The whole width of both columns, the last tab stop of the second one included.
    int DefaultWidth() const override { return 760; }
    int DefaultHeight() const override { return 500; }
    // Where the report ended at the last paint (unscrolled page coordinates).
    int ContentBottom() const { return contentBottom_; }
    void Paint(TCanvas& canvas) override;
    void KeyPress(TKey key) override;

    // Lays the report out on a canvas already mapped; returns the lowest y written in
    // the first and second columns.
    void PaintReport(TCanvas& canvas, const TLayout& layout, int& firstEnd, int& secondEnd) const;
    // Scroll position in steps of 10 units over the 700 by 1000 page.
    int ScrollX() const { return scrollX_; }
    int ScrollY() const { return scrollY_; }
    void ScrollTo(int x, int y, int width, int height);

private:
    bool Put(std::string_view text);
    void PaintPage(TCanvas& canvas);
    void ApplyPlacement();

    THost& host_;
    char text_[kTextSize] = {};
    std::size_t length_ = 0;
    std::string title_;
    std::string notes_;
    int picture_ = 210;
    int scrollX_ = 0, scrollY_ = 0;
    int lastW_ = 600, lastH_ = 500;
    int contentBottom_ = 0;
    TPlacementRecord stored_;
};
