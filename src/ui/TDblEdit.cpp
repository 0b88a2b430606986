#include "TDblEdit.h"

#include <cmath>

namespace {
bool OnlyFrom(const std::string& text, const std::string& allowed)
{
    return text.find_first_not_of(allowed) == std::string::npos;
}
} // namespace

TDblEdit::TDblEdit(std::string format, double minimum, double maximum, double value)
    : format_(std::move(format)), value_(value), minimum_(minimum), maximum_(maximum)
{
    Show();
}

void TDblEdit::SetFormat(std::string format)
{
    format_ = std::move(format);
    Show();
}

void TDblEdit::SetRange(double minimum, double maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
}

void TDblEdit::SetUndefined(std::optional<double> marker, std::string text)
{
    undefined_ = marker;
    undefinedText_ = std::move(text);
    Show();
}

void TDblEdit::SetTwoValue(bool twoValue)
{
    twoValue_ = twoValue;
    Show();
}

void TDblEdit::SetValue(double value)
{
    value_ = value;
    Show();
}

void TDblEdit::SetSecondValue(double second)
{
    second_ = second;
    Show();
}

std::string TDblEdit::Display() const
{
    if (IsUndefined())
        return undefinedText_;
    std::string text = TNumberText::FormatDouble(format_, value_);
    if (twoValue_)
        text += ";" + TNumberText::FormatDouble("%2.1f", second_);
    return text;
}

void TDblEdit::Show()
{
    text_ = Display();
    modified_ = false;
}

void TDblEdit::Edit(std::string text)
{
    text_ = std::move(text);
    typed_ = true;
    modified_ = true;
}

bool TDblEdit::ParseWhole(const std::string& text, double& out)
{
    double v = 0.0;
    std::size_t used = TNumberText::ReadDouble(text, v);
    if (used == 0 || used != text.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

TEditResult TDblEdit::Refuse()
{
    typed_ = false;
    Show();
    return TEditResult{true, false};
}

TEditResult TDblEdit::Commit()
{
    if (!modified_)
        return {};
    std::string text = text_;
    if (!OnlyFrom(text, twoValue_ ? "0123456789+-Ee.,;" : "0123456789+-Ee.,"))
        return Refuse();
    for (char& c : text)
        if (c == ',')
            c = '.';

    if (!twoValue_) {
        double v = 0.0;
        std::size_t used = TNumberText::ReadDouble(text, v);
        if (used == 0 || !std::isfinite(v))
            return Refuse(); // no number at all
        if (used == text.size()) {
            if (v < minimum_ || v > maximum_)
                return Refuse();
            value_ = v;
        }
        // Characters after the number: the value stays as it was, without a beep.
    } else if (text.empty()) {
        // An empty two-value field means 0, but never a value outside the range the
        // rest of the program relies on.
        if (0.0 < minimum_ || 0.0 > maximum_)
            return Refuse();
        value_ = 0.0;
    } else {
        std::size_t split = text.find(';');
        double first = 0.0;
        if (!ParseWhole(text.substr(0, split), first) || first < minimum_ || first > maximum_)
            return Refuse();
        double second = second_;
        if (split != std::string::npos) {
            if (!ParseWhole(text.substr(split + 1), second) || second < 0.1 || second > 9.9)
                return Refuse();
        }
        value_ = first;
        second_ = second;
    }
    Show();
    return TEditResult{false, typed_};
}

TEditResult TDblEdit::Key(TEditKey key)
{
    if (key == TEditKey::Other) {
        typed_ = true;
        return {};
    }
    if (readOnly_)
        return {};
    TEditResult result{false, true};
    if (key == TEditKey::Up)
        value_ *= stepFactor_;
    else
        value_ /= stepFactor_;
    // Both limits for both keys: for a negative value Up moves away from zero,
    // downwards, and must stop at the minimum just as well.
    if (value_ > maximum_) {
        value_ = maximum_;
        result.beep = true;
    } else if (value_ < minimum_) {
        value_ = minimum_;
        result.beep = true;
    }
    typed_ = true;
    Show();
    return result;
}
