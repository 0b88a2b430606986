#pragma once
// A parameter dialog without a window: its title, help file, fields, menu and what a
// change does. The Qt front end renders any model with ordinary widgets
// (src/app/TDialogView); tests drive the same model directly (Type, Key, Toggle, ...).
//
// A field is described once (TFieldInfo: label, unit, format, range, undefined marker,
// scale) and bound to the live object (TFieldBinding: read, write through the object's
// own rule, what follows). Loading and committing bound fields is the model's job, so a
// concrete dialog is its layout, its bindings and the few rules that are its own:
//
//   class TSetupDialog : public TDialogModel {
//   public:
//       TSetupDialog(THost& host, TSetup& setup, TSetupObject& owner)
//           : TDialogModel(host, "Measurement setup", "measetup.txt")
//       {
//           menuCommand = 10203;                         // disabled while open
//           menu = {SubMenu("&Preferences", {MenuCommand(10501, "&Save")})};
//           KeepPositionIn(owner.x, owner.y);           // restored on Open, saved on Close
//           Group("Frequency range");
//           AddField(101, SetupFieldInfo(F::Start), BindMember(setup.start))
//               .Refresh([&setup](TField& f) { f.lng.SetRange(1, setup.stop - 10); });
//           Group("Generator", 1);                       // second column
//           AddField(104, SetupFieldInfo(F::Level), {.read = [&setup] { return setup.level; },
//                                                    .write = [&setup](double v) { return setup.SetLevel(v); }});
//           AddField(110, SetupFieldInfo(F::Autorange), BindMember(setup.autorange));
//           AddField(111, SetupFieldInfo(F::Range), BindMember(setup.range))
//               .EnabledIf([&setup] { return !setup.autorange; });
//           AddOk();
//           afterCommit = [this] { ... recalculation request ... };
//           onCommand = [this](int id) { ... the menu ... };
//       }
//   };
//
//   TSetupDialog d(host, setup, owner); d.Open(); // bound fields loaded, 10203 disabled
//   d.Type(104, "2,83");  d.FocusField(105);    // commits 104: write, afterCommit, load
//   d.Reload();                                 // load, onLoad, THost::RefreshDialog
//
// Fields that are not bound (lists filled by hand, texts a dialog takes itself) use
// onLoad and onFieldChanged / TField::OnChange as before.
//
// Values that callbacks change while handling a user event (a partner field, an
// enable rule) show without Reload(): the view reloads every field after each event
// it forwards. Reload() is for changes from outside (a calculation finished).
//
// Life rules: the model must outlive its view; Open() shows it, Close()/the close
// protocol hides it and calls onClose last, after which the owner may destroy or
// reopen the model. Destroying an open model closes its view and enables its menu
// command again, without callbacks.
//
// Layout: fields are laid out in declaration order (which is also the tab order).
// Group(caption, column) starts a section (a framed box when caption is not empty);
// sections with the same column stack top to bottom, columns stand side by side.
// Each row shows  label | editor | unit ; Beside() puts a field on the row of the
// field before it. Buttons added with bottom = true (and AddOk) form the button row.

#include "TBaseDialog.h"
#include "TDblEdit.h"
#include "TFieldBinding.h"
#include "TFieldInfo.h"
#include "TLongEdit.h"
#include "TMenuSpec.h"
#include "TStrEdit.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TCanvas;

enum class TFieldKind {
    Double, // TDblEdit
    Long,   // TLongEdit
    String, // TStrEdit, one line
    Note,   // TStrEdit, several lines (Enter makes a new line)
    Check,  // check box: checked, text
    Radio,  // one choice of items: selected
    Combo,  // drop-down list of items: selected
    List,   // list box of items: selected; a double click sends onCommand(id)
    Button, // push button with text: onCommand(id); id 1 is OK
    Text,   // read-only text line: text
    Drawn,  // a picture painted on a canvas (a plot): paint, drawWidth x drawHeight
};

struct TField {
    TFieldKind kind = TFieldKind::Text;
    int id = 0;
    std::string label; // row caption, "&" marks the mnemonic; may be empty
    std::string unit;  // caption after the editor ("mm", "Hz"); may be empty
    bool enabled = true;
    bool visible = true;

    // Layout
    std::string group; // section caption (set by TDialogModel::Group)
    int column = 0;    // section column (set by TDialogModel::Group)
    int section = 0;   // running section number (set by TDialogModel::Group)
    bool beside = false;  // on the row of the field before it
    bool bottom = false;  // buttons: in the button row under the sections
    bool horizontal = false; // radio choices side by side instead of stacked
    int chars = 0;     // editor width in characters; 0: the kind's default
    int rows = 0;      // list and note height in lines; 0: the kind's default

    // Values, by kind
    TDblEdit dbl;
    TLongEdit lng;
    TStrEdit str;
    bool checked = false;           // Check
    int selected = -1;              // Radio, Combo, List
    std::vector<std::string> items; // Radio, Combo, List
    std::vector<bool> itemDisabled; // Radio: choices shown grey that a click cannot choose
    std::vector<bool> itemHidden;   // Radio: choices not shown at all (nor chosen)
    std::string text;               // Check and Button caption, Text contents
    // Drawing: the picture's size in logical units (the view shows it at that many
    // pixels) and what paints it; the view repaints it whenever the dialog is refreshed.
    int drawWidth = 0, drawHeight = 0;
    std::function<void(TCanvas&)> paint;

    // Called when the field commits a change, before TDialogModel::onFieldChanged.
    std::function<void(TField&)> onChange;

    // Bound fields: how the model loads and commits them (see TFieldBinding).
    TFieldBinding binding;
    double scale = 1.0; // stored = shown · scale (value fields made by AddField)

    // Fluent helpers for building
    TField& Beside() { beside = true; return *this; }
    TField& Disabled() { enabled = false; return *this; }
    TField& Width(int c) { chars = c; return *this; }
    TField& Rows(int r) { rows = r; return *this; }
    TField& Horizontal() { horizontal = true; return *this; }
    TField& OnChange(std::function<void(TField&)> f) { onChange = std::move(f); return *this; }
    TField& Bind(TFieldBinding b) { binding = std::move(b); return *this; }
    TField& Then(std::function<void()> f) { binding.then = std::move(f); return *this; }
    TField& EnabledIf(std::function<bool()> f) { binding.enabled = std::move(f); return *this; }
    TField& Refresh(std::function<void(TField&)> f) { binding.refresh = std::move(f); return *this; }
    // Double and Long: the value shown as "undef." (or as a text of the field's own).
    TField& Undefined(double marker, const char* text = "undef.");
    TField& Step(double step);         // Double: step factor; Long: step
    TField& ReadOnly(bool readOnly = true);
    TField& TwoValue(double second = 0.5); // Double: "value;second"

    // Radio: whether choice i can be chosen (the whole field enabled too).
    bool ItemEnabled(int i) const
    {
        return enabled && ItemVisible(i) &&
               (i < 0 || static_cast<std::size_t>(i) >= itemDisabled.size() ||
                !itemDisabled[static_cast<std::size_t>(i)]);
    }
    bool ItemVisible(int i) const
    {
        return i < 0 || static_cast<std::size_t>(i) >= itemHidden.size() || !itemHidden[static_cast<std::size_t>(i)];
    }
    bool IsEdit() const { return kind == TFieldKind::Double || kind == TFieldKind::Long ||
                                 kind == TFieldKind::String || kind == TFieldKind::Note; }
    bool Focusable() const { return visible && enabled && kind != TFieldKind::Text && kind != TFieldKind::Drawn; }
    // The value a bound field hands its write before scaling: the number of a value
    // field, 1 or 0 for a check box, the chosen index of a choice.
    double Number() const;
    // The text an edit field holds now (what the view shows in its editor).
    std::string EditText() const;
    // The value as the dialog shows it, for listings: a number in the field's format (or
    // "undef."), "on"/"off" for a check box, the chosen item's text, the text of a text
    // field; empty for buttons and text lines.
    std::string ShownValue() const;
    // What the field takes, from its description, for listings and refusal messages:
    // "MIN .. MAX" for numbers (with ", M: undef." where the value M shows as undef.),
    // "on|off" for a check box, the choices "A|B|C", "at most N characters" for text;
    // empty for buttons and text lines.
    std::string AcceptedText() const;
};

// A value a dialog shows inside a list line rather than in a field of its own (the
// branch types and component values of a network's branch list). The command line
// lists and sets it by name like a field; set takes the text a user would enter and
// goes through the dialog's own rules (the dialog a double click opens, its buttons),
// so both refuse the same values. It returns whether the value was taken.
struct TListedValue {
    std::string name;     // "Branch 01", "R1011", "R1011 optimise"
    std::string shown;    // the value as the dialog shows it
    std::string unit;
    std::string accepted; // "0.01 .. 1000", "on|off", the choices "A|B|C"
    std::function<bool(const std::string& text)> set;
};

// A caption without its mnemonic marks: "&Yes" -> "Yes", "R&&D" -> "R&D".
std::string PlainCaption(const std::string& caption);

class TDialogModel : public TBaseDialog {
public:
    TDialogModel(THost& host, std::string title, std::string helpFile = {});
    ~TDialogModel() override;

    std::string title;
    TMenuBar menu;          // the dialog's own menu bar; empty: none
    int menuCommand = 0;    // main menu command disabled while open; 0: none
    bool modal = false;     // blocks the other windows while open (user note)

    std::function<void(int id)> onFieldChanged; // a field committed a change
    std::function<void(int id)> onCommand;      // button (not OK) or menu command
    std::function<void()> onLoad;               // refill the fields from the live objects
    std::function<bool()> canClose;             // asked before a user close; false keeps it open
    std::function<void()> onClose;              // last call; the owner may destroy the model
    // What follows an accepted write of a bound field whose binding has no then().
    std::function<void()> afterCommit;
    // The dialogs this one opened and that are open now (an optimiser's table dialog
    // opened from the box dialog's menu), so a listing of dialogs reaches them too.
    std::function<std::vector<TDialogModel*>()> openChildren;
    // The values shown in list lines, for the command line (see TListedValue).
    std::function<std::vector<TListedValue>()> listedValues;
    // Left (-1) or right (+1) arrow in a list: the dialog steps what its selected line shows.
    std::function<void(int id, int direction)> onListStep;

    // Building, in layout and tab order.
    void Group(std::string caption, int column = 0);
    // A value field (or, for a switch, a check box captioned with the label) made from
    // its description and bound to the live object.
    TField& AddField(int id, const TFieldInfo& info, TFieldBinding binding = {});
    TField& AddDouble(int id, std::string label, std::string unit, std::string format, double minimum,
                      double maximum, double value);
    TField& AddLong(int id, std::string label, std::string unit, std::string format, std::int32_t minimum,
                    std::int32_t maximum, std::int32_t value, std::int32_t step = 1);
    TField& AddString(int id, std::string label, std::size_t limit, std::string text = {});
    TField& AddNote(int id, std::string label, std::size_t limit, std::string text = {});
    TField& AddCheck(int id, std::string label, std::string text, bool checked);
    TField& AddRadio(int id, std::string label, std::vector<std::string> choices, int selected);
    TField& AddCombo(int id, std::string label, std::vector<std::string> items, int selected);
    TField& AddList(int id, std::string label, std::vector<std::string> items, int selected);
    TField& AddButton(int id, std::string text, bool bottom = false);
    TField& AddText(int id, std::string label, std::string text = {});
    // A drawn area of width x height logical units, painted by paint on any canvas.
    TField& AddDrawing(int id, int width, int height, std::function<void(TCanvas&)> paint);
    // The "&OK" button (id 1) in the button row: Enter on it closes the dialog.
    TField& AddOk(std::string text = "&OK");

    // Fields
    const std::deque<TField>& Fields() const { return fields_; }
    TField* Find(int id);
    const TField* Find(int id) const;
    TField& Field(int id);             // the field must exist
    const TField& Field(int id) const;
    TDblEdit& Dbl(int id) { return Field(id).dbl; }
    TLongEdit& Long(int id) { return Field(id).lng; }
    TStrEdit& Str(int id) { return Field(id).str; }
    void SetEnabled(int id, bool enabled) { Field(id).enabled = enabled; }
    void SetVisible(int id, bool visible) { Field(id).visible = visible; }
    void SetChecked(int id, bool checked) { Field(id).checked = checked; }
    bool Checked(int id) const { return Field(id).checked; }
    void SetSelected(int id, int index) { Field(id).selected = index; }
    int Selected(int id) const { return Field(id).selected; }
    void SetItems(int id, std::vector<std::string> items, int selected);
    void SetText(int id, std::string text); // Text, Check and Button captions; String and Note contents
    // Radio: choice index shows grey and cannot be chosen.
    void SetItemEnabled(int id, int index, bool enabled);
    // Radio: choice index is shown, or left out (and cannot be chosen).
    void SetItemVisible(int id, int index, bool visible);
    // A command of the dialog's menu (shown grey and ignored while disabled).
    void EnableCommand(int id, bool enabled);
    bool CommandEnabled(int id) const;

    // User events: the view calls these, and so do tests.
    void Edit(int id, std::string text); // the text of an edit field changed (every keystroke)
    void Key(int id, TEditKey key);      // Up, Down or another key in an edit field
    void Toggle(int id, bool checked);   // a check box was clicked
    void Select(int id, int index);      // a radio choice, combo or list entry was chosen
    void Press(int id);                  // a button was pressed (1: Enter on OK, 2: Escape)
    void Activate(int id);               // a list entry was double-clicked
    void StepList(int id, int direction); // left (-1) or right (+1) arrow in a list
    void Command(int id);                // a menu command of the dialog's menu; a disabled one does nothing
    // Focus, then typing: what a user does to fill a field (commit by moving on).
    void Type(int id, std::string text);

    // Lifecycle
    // Shows the view (THost::ShowDialog). A closed dialog first goes to its kept
    // position and loads its bound fields; an open dialog is only raised.
    void Open();
    // Bound fields, then onLoad, then the view shows the new values (THost::RefreshDialog).
    void Reload();
    void Close();  // closes at once without committing (the owner is going away)

protected:
    std::vector<int> TabOrder() const override;
    void CommitField(int id) override;
    void FieldFocused(int id) override;
    bool Finish() override;

private:
    TField& Add(TFieldKind kind, int id, std::string label);
    void Changed(TField& field);
    void Apply(TField& field, const TEditResult& result);
    void Write(TField& field);
    // keepTyping: an edit field holding text the user has not committed keeps it.
    void LoadBound(bool keepTyping);
    void LoadField(TField& field, bool keepTyping);

    std::deque<TField> fields_;
    std::string group_;
    int column_ = 0;
    int section_ = 0;
};
