#pragma once
// "tonvek.cfg" in the program folder: the main window rectangle and the flag that
// shows the "Load a driver unit" hint.

#include <optional>
#include <string>

struct TWindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct TMainConfig {
    std::optional<TWindowRect> rect; // absent when the file had no complete rectangle
    bool showUnitHint = true;

    // A missing or short file gives what could be read; the flag defaults to 1.
    static TMainConfig Read(const std::string& path);
    // Writing failures are ignored by the caller; the result says what happened.
    [[nodiscard]] bool Write(const std::string& path) const;

    static constexpr const char* FileName = "tonvek.cfg";
};
