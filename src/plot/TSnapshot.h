#pragma once
// The snapshot window of a project: up to five frozen level curves (slots) copied from
// the project's results, each with its label, level offset and visibility, drawn over a
// log frequency axis with their own legend below the plot. The slots, the display range
// and the texts live in a ".snp" file of their own (40585 bytes); the project file keeps
// only that file's path and this window's record.
//
// The window does not know where curves come from: the project (through the dialog)
// copies frequencies and levels in with CopyInto.

#include "plot/TPlotLogXLinY.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class TSnapshotDialog;

class TSnapshot : public TPlotLogXLinY {
public:
    static constexpr int kSlots = 5;
    static constexpr int kPoints = 500;
    static constexpr std::size_t kTextField = 80;
    static constexpr std::size_t kFileBytes = 40585;
    static constexpr int kMaxRange = 80;
    static constexpr int kMaxFrequency = 20000;

    struct TSlot {
        std::array<double, kPoints> frequency{};
        std::array<double, kPoints> level{};
        std::int32_t count = 0;
        std::string label; // at most 79 characters
        bool hasData = false;
        bool visible = false;
        std::int16_t offset = 0; // dB
    };

    // startHz and stopHz: the display range a reset returns to (the project's setup or
    // the general settings); both are asked again at every reset.
    struct TRangeSource {
        std::function<std::int32_t()> start, stop;
    };

    // The styles and the cursor dialog belong to the project and must outlive the window.
    TSnapshot(THost& host, const TPlotStyles& styles, TCursorDialog* cursor, TRangeSource range);
    ~TSnapshot() override;

    // Defaults: the project's range, 30 dB, slot 0, no label, caption "Snapshot", nothing
    // shown, no offsets; the slots keep their points. Marks the window as having data.
    void Reset();

    std::int32_t start = 20, stop = 20000, range = 30, selected = 0;
    bool hideNumbers = false;
    // Not "slots": Qt takes that word as a keyword in every file that includes its headers.
    std::array<TSlot, kSlots> slotData{};
    const std::string& SnapshotCaption() const { return snapCaption_; }
    // Cut to 79 characters; the window caption follows.
    void SetSnapshotCaption(const std::string& caption);
    static std::string CutText(const std::string& text);

    // Copies count points (at most 500) into a slot, which then has data and is shown.
    // False for a slot out of range or no points.
    bool CopyInto(int slot, const double* frequency, const double* level, int count);

    // The .snp file. Reading takes the whole file first: a short or damaged file (point
    // counts outside 0 .. 500, a non-finite or non-positive frequency or a non-finite
    // level within a count, a display range the dialog never writes) changes nothing.
    void WriteFile(TBinaryWriter& out, std::int16_t version) const;
    [[nodiscard]] bool ReadFile(TBinaryReader& in);
    [[nodiscard]] bool SaveFile(const std::string& path, std::int16_t version) const;
    [[nodiscard]] bool LoadFile(const std::string& path);

    // y axis of the next paint: the largest shown level (offset included, at least -10)
    // and that minus the range.
    double TopLevel() const;
    // The number point of a slot: index of the highest point within start .. stop, -1 when none.
    int NumberPoint(int slot) const;
    static const TLineStyle& SlotStyle(int slot);

    // Its slots are printed whether or not the plot curves hold data.
    bool HasPrintableData() const override { return true; }

    // Where the dialog stands, kept while the project lives, and the open dialog.
    std::int16_t dialogX = 0, dialogY = 0;
    TSnapshotDialog* dialog = nullptr;

    // Canvas rows of the mapped plot: the upper 100/131 of the window.
    static int MappedHeight(int height) { return static_cast<int>(height * 0.7633587786259541); }

protected:
    void ComputeAxes() override;
    void BeginPlotPaint(TCanvas& canvas) override;
    void PaintAxes(TCanvas& canvas) override;
    void PaintCurves(TCanvas& canvas, bool printer) override;
    void SelectPlotClip(TCanvas& canvas, bool printer) override;

private:
    int XOf(double f) const;
    int YOf(double level) const;
    void PaintLegend(TCanvas& canvas);

    TRangeSource rangeSource_;
    std::string snapCaption_ = "Snapshot";
    std::array<TPoint, kPoints> points_{};
};
