#pragma once
// A text entry field: it keeps at most `limit` bytes of UTF-8 (cut at a character
// boundary, so a stored fixed-size text field always has room for its terminator)
// and notifies its dialog every time it loses the focus.

#include "TEditResult.h"

#include <string>

class TStrEdit {
public:
    TStrEdit() = default;
    explicit TStrEdit(std::size_t limit, std::string text = {});

    std::size_t Limit() const { return limit_; }
    void SetLimit(std::size_t limit);

    const std::string& Text() const { return text_; }
    // Set by the program: clears the modified flag.
    void SetText(std::string text);
    // Typed by the user; returns false when the text had to be cut to the limit.
    bool Edit(std::string text);
    // The user changed the text since the program last set it.
    bool Modified() const { return modified_; }

    [[nodiscard]] TEditResult Commit() const { return TEditResult{false, true}; }

    // Cuts text to at most limit bytes without splitting a UTF-8 sequence.
    static std::string Cut(std::string text, std::size_t limit);

private:
    std::string text_;
    std::size_t limit_ = 255;
    bool modified_ = false;
};
