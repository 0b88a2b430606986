#pragma once
// How a dialog field reaches the live object it shows. The dialog model loads and
// commits bound fields by itself (TDialogModel):
//
//   load   (Reload, Open, after every commit): enabled = enabled(); the value from
//          read() (value fields show read() / scale; a check box is ticked when it is
//          not 0; a choice selects index read()); a text line or text field from text();
//          then refresh(field) for whatever else follows the live object (a format
//          that follows the value, a range that follows another field, visibility).
//   commit (the field reports a change): write(shown · scale) applies the object's
//          own rule. true: the object took it, and then() - or, when the binding has
//          none, the dialog's afterCommit - says what follows (a recalculation
//          request). false: refused, nothing was written. Either way every bound field
//          is loaded again, so the refused field shows the stored value and fields that
//          follow from the changed one show their new values.
//
// Every part may be empty: a button may only have an enabling rule.

#include <cmath>
#include <functional>
#include <string>
#include <type_traits>

struct TField;

struct TFieldBinding {
    std::function<double()> read = {};             // the stored value
    std::function<bool(double stored)> write = {}; // the commit rule; false: refused
    std::function<std::string()> text = {};        // text lines and text fields
    std::function<void()> then = {};               // after an accepted write
    std::function<bool()> enabled = {};            // the enabling rule
    std::function<void(TField&)> refresh = {};     // anything else that follows the object

    bool Loads() const { return read || text || enabled || refresh; }
};

// A plain member that takes every value the field admits: whole numbers are rounded to
// the nearest, a flag is set by any value but 0.
template <class T>
TFieldBinding BindMember(T& stored)
{
    static_assert(std::is_arithmetic_v<T>);
    return {
        .read = [&stored] { return static_cast<double>(stored); },
        .write =
            [&stored](double value) {
                if (!std::isfinite(value))
                    return false;
                if constexpr (std::is_same_v<T, bool>)
                    stored = value != 0.0;
                else if constexpr (std::is_integral_v<T>)
                    stored = static_cast<T>(std::lround(value));
                else
                    stored = static_cast<T>(value);
                return true;
            },
    };
}
