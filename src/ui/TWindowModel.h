#pragma once
// A child window of the main frame as the engine sees it: it paints itself on a
// canvas and reacts to pointer, key and close events. The front end hosts it in an
// MDI child (Qt) or renders it to an image on request (headless).

#include "TCanvas.h"

#include <string>

enum class TKey { PageUp, PageDown, Up, Down, Left, Right, Home, End, Enter, Escape, Other };

// Show states of a child window, with the restored rectangle in frame client pixels.
enum class TShowState : int { Hidden = 0, Normal = 1, Minimised = 2, Maximised = 3 };

struct TViewPlacement {
    TShowState show = TShowState::Minimised;
    TRect restored{0, 0, 600, 290};
};

class TWindowModel {
public:
    virtual ~TWindowModel() = default;

    virtual std::string Title() const = 0;
    // Client size the window opens with.
    virtual int DefaultWidth() const { return 600; }
    virtual int DefaultHeight() const { return 290; }

    // Paints the whole client area; the canvas's device size is the client size.
    virtual void Paint(TCanvas& canvas) = 0;

    // Pointer events in client pixels, with the client size.
    virtual void MouseMove(int /*px*/, int /*py*/, int /*width*/, int /*height*/) {}
    virtual void MouseDoubleClick(int /*px*/, int /*py*/, int /*width*/, int /*height*/) {}
    virtual void MouseLeave() {}
    virtual void KeyPress(TKey /*key*/) {}
    virtual void Activated(bool /*active*/) {}
    // The user closed the window: true destroys it, false only hides it.
    virtual bool CloseRequested() { return false; }

    // Where the window is, kept up to date by the front end.
    TViewPlacement placement;
};
