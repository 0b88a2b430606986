#pragma once
// The rules of a real-number entry field, without a window: what it shows, how typed
// text is taken over when the field loses the focus, and the Up/Down steps. The dialog
// model owns one per value field and turns the results into a beep and a change
// notification; the Qt view only mirrors Text().

#include "TEditResult.h"
#include "TNumberText.h"

#include <optional>
#include <string>

class TDblEdit {
public:
    TDblEdit() = default;
    TDblEdit(std::string format, double minimum, double maximum, double value);

    // Configuration. The format is a printf format for one double ("%2.3f").
    void SetFormat(std::string format);
    const std::string& Format() const { return format_; }
    void SetRange(double minimum, double maximum);
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    // A value equal to the marker shows text ("undef.", or "inf." for a flare radius
    // that stands for a straight port); no marker by default.
    void SetUndefined(std::optional<double> marker, std::string text = "undef.");
    std::optional<double> Undefined() const { return undefined_; }
    const std::string& UndefinedText() const { return undefinedText_; }
    void SetStepFactor(double factor) { stepFactor_ = factor; }
    double StepFactor() const { return stepFactor_; }
    // A read-only field refuses arrow-key steps (and the view refuses typing).
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool ReadOnly() const { return readOnly_; }
    // The two-value form: "value;second" with the second shown as "%2.1f".
    void SetTwoValue(bool twoValue);
    bool TwoValue() const { return twoValue_; }

    // The value, set by the program: the field shows it at once.
    double Value() const { return value_; }
    void SetValue(double value);
    double SecondValue() const { return second_; }
    void SetSecondValue(double second);
    bool IsUndefined() const { return undefined_ && value_ == *undefined_; }

    // What the field shows for its value, and what it holds now (typed text included).
    std::string Display() const;
    const std::string& Text() const { return text_; }
    bool Typed() const { return typed_; }
    bool Modified() const { return modified_; }

    // Events.
    void FocusIn() { typed_ = false; }
    // The user changed the text (every keystroke): typed and modified.
    void Edit(std::string text);
    // The field lost the focus: take over the text or refuse it.
    [[nodiscard]] TEditResult Commit();
    [[nodiscard]] TEditResult Key(TEditKey key);

private:
    // A complete number of the text: parsed with nothing left over.
    static bool ParseWhole(const std::string& text, double& out);
    TEditResult Refuse();
    void Show();

    std::string format_ = "%g";
    std::string text_;
    double value_ = 0.0;
    double second_ = 0.5;
    double stepFactor_ = 1.05;
    double minimum_ = -1e300;
    double maximum_ = 1e300;
    std::optional<double> undefined_;
    std::string undefinedText_ = "undef.";
    bool readOnly_ = false;
    bool typed_ = false;
    bool modified_ = false;
    bool twoValue_ = false;
};
