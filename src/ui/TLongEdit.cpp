#include "TLongEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TLongEdit::TLongEdit(std::string format, std::int32_t minimum, std::int32_t maximum, std::int32_t value,
                     std::int32_t step)
    : format_(std::move(format)), value_(value), minimum_(minimum), maximum_(maximum)
{
    SetStep(step);
    Show();
}

void TLongEdit::SetFormat(std::string format)
{
    format_ = std::move(format);
    Show();
}

void TLongEdit::SetRange(std::int32_t minimum, std::int32_t maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
}

void TLongEdit::SetUndefined(std::optional<std::int32_t> marker, std::string text)
{
    undefined_ = marker;
    undefinedText_ = std::move(text);
    Show();
}

void TLongEdit::SetValue(std::int32_t value)
{
    value_ = value;
    Show();
}

std::string TLongEdit::Display() const
{
    if (IsUndefined())
        return undefinedText_;
    return TNumberText::FormatLong(format_, value_);
}

void TLongEdit::Show()
{
    text_ = Display();
    modified_ = false;
}

void TLongEdit::Edit(std::string text)
{
    text_ = std::move(text);
    typed_ = true;
    modified_ = true;
}

TEditResult TLongEdit::Refuse()
{
    typed_ = false;
    Show();
    return TEditResult{true, false};
}

TEditResult TLongEdit::Commit()
{
    if (!modified_)
        return {};
    if (text_.find_first_not_of("0123456789+-") != std::string::npos)
        return Refuse();
    long v = 0;
    std::size_t used = TNumberText::ReadLong(text_, v);
    if (used == 0 || used != text_.size())
        return Refuse();
    // Round to the nearest multiple of the step, halves away from zero. (Applying
    // trunc(v / step + 0.5) to negative numbers too would turn -12 into -11.)
    double size = std::trunc(std::fabs(static_cast<double>(v)) / step_ + 0.5) * step_;
    double rounded = v < 0 ? -size : size;
    if (rounded < minimum_ || rounded > maximum_)
        return Refuse();
    value_ = static_cast<std::int32_t>(rounded);
    Show();
    return TEditResult{false, typed_};
}

TEditResult TLongEdit::Key(TEditKey key)
{
    if (key == TEditKey::Other) {
        typed_ = true;
        return {};
    }
    if (readOnly_)
        return {};
    // A step of 1 steps by a tenth of the value, at least 1.
    std::int64_t increment = step_;
    if (step_ == 1)
        increment = std::max<std::int64_t>(1, std::llabs(value_) / 10);
    std::int64_t next = key == TEditKey::Up ? std::int64_t{value_} + increment : std::int64_t{value_} - increment;
    if (next < minimum_ || next > maximum_)
        return TEditResult{true, false};
    value_ = static_cast<std::int32_t>(next);
    typed_ = true;
    Show();
    return TEditResult{false, true};
}
