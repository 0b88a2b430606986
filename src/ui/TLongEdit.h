#pragma once
// The rules of an integer entry field, without a window: display, commit with rounding
// to the step, and the Up/Down steps (a step of 1 steps by a tenth of the value).

#include "TEditResult.h"
#include "TNumberText.h"

#include <cstdint>
#include <optional>
#include <string>

class TLongEdit {
public:
    TLongEdit() = default;
    TLongEdit(std::string format, std::int32_t minimum, std::int32_t maximum, std::int32_t value,
              std::int32_t step = 1);

    // The format is "%ld" or "%d" (with width flags if wanted).
    void SetFormat(std::string format);
    const std::string& Format() const { return format_; }
    void SetRange(std::int32_t minimum, std::int32_t maximum);
    std::int32_t Minimum() const { return minimum_; }
    std::int32_t Maximum() const { return maximum_; }
    // A value equal to the marker shows text ("undef.", or "---" for a value that does
    // not apply now); no marker by default.
    void SetUndefined(std::optional<std::int32_t> marker, std::string text = "undef.");
    std::optional<std::int32_t> Undefined() const { return undefined_; }
    const std::string& UndefinedText() const { return undefinedText_; }
    // Entries are rounded to a multiple of the step; values below 1 count as 1.
    void SetStep(std::int32_t step) { step_ = step < 1 ? 1 : step; }
    std::int32_t Step() const { return step_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool ReadOnly() const { return readOnly_; }

    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t value);
    bool IsUndefined() const { return undefined_ && value_ == *undefined_; }

    std::string Display() const;
    const std::string& Text() const { return text_; }
    bool Typed() const { return typed_; }
    bool Modified() const { return modified_; }

    void FocusIn() { typed_ = false; }
    void Edit(std::string text);
    [[nodiscard]] TEditResult Commit();
    [[nodiscard]] TEditResult Key(TEditKey key);

private:
    TEditResult Refuse();
    void Show();

    std::string format_ = "%ld";
    std::string text_;
    std::int32_t value_ = 0;
    std::int32_t minimum_ = INT32_MIN;
    std::int32_t maximum_ = INT32_MAX;
    std::int32_t step_ = 1;
    std::optional<std::int32_t> undefined_;
    std::string undefinedText_ = "undef.";
    bool readOnly_ = false;
    bool typed_ = false;
    bool modified_ = false;
};
