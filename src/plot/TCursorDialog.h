#pragma once
// The cursor readout: a small always-visible tool window with six text fields that
// the plots of a project write their pointer values into. Closing it only beeps.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class THost;

class TCursorDialog {
public:
    static constexpr int kXCaption = 101;
    static constexpr int kXUnit = 102;
    static constexpr int kXValue = 103;
    static constexpr int kYCaption = 104;
    static constexpr int kYUnit = 105;
    static constexpr int kYValue = 106;

    // What a front end shows of the dialog; it is told when a field changed.
    class TView {
    public:
        virtual ~TView() = default;
        virtual void FieldChanged(int id) = 0;
    };
    // The front end installs a factory once; every dialog made later is offered to it
    // with its host, and the factory makes a view only for the hosts it draws for.
    using TViewFactory = std::function<std::unique_ptr<TView>(TCursorDialog&, THost&)>;
    static void SetViewFactory(TViewFactory factory);

    explicit TCursorDialog(THost& host);
    ~TCursorDialog();
    TCursorDialog(const TCursorDialog&) = delete;
    TCursorDialog& operator=(const TCursorDialog&) = delete;

    std::string Title() const { return "Cursor"; }
    static constexpr int kResource = 11;

    // Field ids 101 to 106; other ids are ignored or read as empty.
    void SetField(int id, std::string_view text);
    const std::string& Field(int id) const;
    void ClearFields();

    // The system close request: a beep, and the window stays.
    bool CloseRequested();

    TView* View() const { return view_.get(); }

private:
    THost& host_;
    std::string fields_[6];
    std::unique_ptr<TView> view_;
};
