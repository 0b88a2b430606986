#pragma once
// The cursor readout of one x-y plot. It is off until the plot is active and has data,
// then absolute; a double click inside the plot area switches to relative, with 0 at
// the clicked height, and back. It follows the pointer into and out of the area and
// writes the captions, values and units into the project's cursor dialog, which all
// plots of a project share.

#include <string>
#include <string_view>

class TCursorDialog;

// What the readout reads from its plot: the units, and the value under a pointer pixel
// with the printf format it is shown in. Only this differs between the axis kinds.
class TCursorAxes {
public:
    struct TReading {
        double value = 0;
        const char* format = "%3.2E";
    };

    // px, py: pointer pixels in a view of width by height pixels.
    virtual TReading ReadX(int px, int width) const = 0;
    virtual TReading ReadY(int py, int height) const = 0;
    virtual const std::string& XUnit() const = 0;
    virtual const std::string& YUnit() const = 0;

protected:
    ~TCursorAxes() = default;
};

class TCursorReadout {
public:
    static constexpr int kOff = 1, kAbsolute = 2, kRelative = 3;

    // Both must outlive the readout; without a dialog nothing is written.
    TCursorReadout(TCursorDialog* dialog, const TCursorAxes& axes) : dialog_(dialog), axes_(axes) {}

    // Mode changes, made by the plot as it is activated and gets or loses its data.
    // Absolute from off or relative; the reference stays for a later switch.
    void SwitchAbsolute() { mode_ = kAbsolute; }
    // The plot lost the focus: a pointer inside leaves, and the reference is forgotten.
    void SwitchOff();
    // The plot lost its data: off, and the dialog emptied wherever the pointer is.
    void Reset();
    // The plot was redrawn: a pointer inside gets its captions and units again.
    void Refresh();

    // The pointer at a pixel of a width by height view; inArea tells whether that pixel
    // is inside the plot's cursor rectangle. Ignored while off.
    void PointerMoved(int px, int py, int width, int height, bool inArea);
    // A double click at the height py where PointerMoved just put the pointer.
    void DoubleClicked(int py, int height);
    // The pointer left the window.
    void PointerLeft();

    int Mode() const { return mode_; }
    bool IsOff() const { return mode_ == kOff; }
    bool Inside() const { return inside_; }
    double ReferenceY() const { return referenceY_; }
    // The values last shown (y relative to the reference in relative mode).
    double LastX() const { return lastX_; }
    double LastY() const { return lastY_; }

private:
    void Enter();
    void Leave();
    void ShowX(int px, int width);
    void ShowY(int py, int height);
    void SetField(int id, std::string_view text);
    // The reading printed in its format, into text_.
    const char* Print(const TCursorAxes::TReading& reading);

    TCursorDialog* dialog_;
    const TCursorAxes& axes_;
    int mode_ = kOff;
    bool inside_ = false;
    double referenceY_ = 0;
    double lastX_ = 0, lastY_ = 0;
    char text_[160] = {};
};
