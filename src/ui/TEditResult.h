#pragma once
// What an entry field asks of its dialog after an event.

enum class TEditKey { Up, Down, Other };

struct TEditResult {
    bool beep = false;   // the entry was refused or a step hit a limit
    bool notify = false; // send the field's change notification
};
