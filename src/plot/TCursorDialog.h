#pragma once
// The cursor readout: a small always-visible tool window with six text fields that
// the plots of a project write their pointer values into. Closing it only beeps.
// The host makes its view when it is created; a headless host makes none.

#include "ui/TFieldView.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

class THost;

class TCursorDialog final : public TFieldSource {
public:
    static constexpr int kXCaption = 101;
    static constexpr int kXUnit = 102;
    static constexpr int kXValue = 103;
    static constexpr int kYCaption = 104;
    static constexpr int kYUnit = 105;
    static constexpr int kYValue = 106;

    explicit TCursorDialog(THost& host);
    ~TCursorDialog();
    TCursorDialog(const TCursorDialog&) = delete;
    TCursorDialog& operator=(const TCursorDialog&) = delete;

    std::string Title() const override { return "Cursor"; }
    static constexpr int kResource = 11;
    // "X: value unit" above "Y: value unit".
    std::span<const TRow> Rows() const override;

    // Field ids 101 to 106; other ids are ignored or read as empty.
    void SetField(int id, std::string_view text);
    const std::string& Field(int id) const override;
    void ClearFields();

    // The system close request: a beep, and the window stays.
    bool CloseRequested() override;

    TFieldView* View() const { return view_.get(); }

private:
    THost& host_;
    std::string fields_[6];
    std::unique_ptr<TFieldView> view_;
};
