#pragma once
// "tonvek.cfg" in the program folder: the main window rectangle and the flag that
// shows the "Load a driver unit" hint.

#include <optional>
#include <string>

struct TWindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Where the main window goes for a stored rectangle, on a screen's work area (both in
// screen coordinates, right and bottom exclusive). A rectangle without area gives
// nothing: the window keeps its default placement. Otherwise the size is kept within
// the screen (and not below a usable minimum) and the window is moved so that all of
// it is on the screen, whatever values a damaged file holds.
std::optional<TWindowRect> PlaceOnScreen(const TWindowRect& stored, const TWindowRect& screen);

struct TMainConfig {
    std::optional<TWindowRect> rect; // absent when the file had no complete rectangle
    bool showUnitHint = true;

    // A missing or short file gives what could be read; the flag defaults to 1.
    static TMainConfig Read(const std::string& path);
    // Writing failures are ignored by the caller; the result says what happened.
    [[nodiscard]] bool Write(const std::string& path) const;

    static constexpr const char* FileName = "tonvek.cfg";
    // Four int32 and the flag byte; nothing after them is read.
    static constexpr std::size_t kFileBytes = 17;
};
