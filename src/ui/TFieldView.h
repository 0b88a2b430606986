#pragma once
// A small tool window of read-only texts that the engine keeps current, such as the
// cursor readout of the plots. The engine owns the texts (TFieldSource); a front end
// may show them (TFieldView, made by THost::CreateFieldView) and is told of changes.

#include <span>
#include <string>

class TFieldSource {
public:
    // One line of the window: a caption, a number shown right-aligned, and its unit.
    struct TRow {
        int caption = 0, value = 0, unit = 0;
    };

    virtual std::string Title() const = 0;
    virtual std::span<const TRow> Rows() const = 0;
    // The text of a field; ids not in the rows read as empty.
    virtual const std::string& Field(int id) const = 0;
    // The system close request; false keeps the window.
    virtual bool CloseRequested() = 0;

protected:
    ~TFieldSource() = default;
};

class TFieldView {
public:
    virtual ~TFieldView() = default;
    virtual void FieldChanged(int id) = 0;
};
