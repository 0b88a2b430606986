#include "TDialogModel.h"

#include "THost.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

TField& TField::Undefined(double marker, const char* text)
{
    if (kind == TFieldKind::Long)
        lng.SetUndefined(static_cast<std::int32_t>(marker), text ? text : "undef.");
    else
        dbl.SetUndefined(marker, text ? text : "undef.");
    return *this;
}

TField& TField::Step(double step)
{
    if (kind == TFieldKind::Long)
        lng.SetStep(static_cast<std::int32_t>(step));
    else
        dbl.SetStepFactor(step);
    return *this;
}

TField& TField::ReadOnly(bool readOnly)
{
    dbl.SetReadOnly(readOnly);
    lng.SetReadOnly(readOnly);
    return *this;
}

TField& TField::TwoValue(double second)
{
    dbl.SetSecondValue(second);
    dbl.SetTwoValue(true);
    return *this;
}

double TField::Number() const
{
    switch (kind) {
    case TFieldKind::Double: return dbl.Value();
    case TFieldKind::Long: return lng.Value();
    case TFieldKind::Check: return checked ? 1.0 : 0.0;
    case TFieldKind::Radio:
    case TFieldKind::Combo:
    case TFieldKind::List: return selected;
    default: return 0.0;
    }
}

std::string TField::EditText() const
{
    switch (kind) {
    case TFieldKind::Double: return dbl.Text();
    case TFieldKind::Long: return lng.Text();
    case TFieldKind::String:
    case TFieldKind::Note: return str.Text();
    default: return text;
    }
}

namespace {

// A limit as short as it reads back, never in the locale's notation: "0.1", "10000".
std::string LimitText(double value)
{
    char text[400];
    const auto format = std::fabs(value) < 1e15 ? std::chars_format::fixed : std::chars_format::general;
    auto [end, ec] = std::to_chars(text, text + sizeof text, value, format);
    return ec == std::errc() ? std::string(text, end) : std::string("?");
}

std::string Choices(const TField& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.items.size(); ++i)
        if (field.ItemVisible(static_cast<int>(i)))
            out += (out.empty() ? "" : "|") + PlainCaption(field.items[i]);
    return out;
}

} // namespace

std::string PlainCaption(const std::string& caption)
{
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] != '&')
            continue;
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

std::string TField::ShownValue() const
{
    switch (kind) {
    case TFieldKind::Double: return dbl.Display();
    case TFieldKind::Long: return lng.Display();
    case TFieldKind::String:
    case TFieldKind::Note: return str.Text();
    case TFieldKind::Check: return checked ? "on" : "off";
    case TFieldKind::Radio:
    case TFieldKind::Combo:
    case TFieldKind::List:
        return selected >= 0 && selected < static_cast<int>(items.size())
                   ? PlainCaption(items[static_cast<std::size_t>(selected)])
                   : std::string();
    default: return {};
    }
}

std::string TField::AcceptedText() const
{
    switch (kind) {
    case TFieldKind::Double: {
        std::string text = LimitText(dbl.Minimum()) + " .. " + LimitText(dbl.Maximum());
        if (dbl.Undefined())
            text += ", " + LimitText(*dbl.Undefined()) + ": " + dbl.UndefinedText();
        if (dbl.TwoValue())
            text += " (value;second, second 0.1 .. 9.9)";
        return text;
    }
    case TFieldKind::Long: {
        std::string text = std::to_string(lng.Minimum()) + " .. " + std::to_string(lng.Maximum());
        if (lng.Undefined())
            text += ", " + std::to_string(*lng.Undefined()) + ": " + lng.UndefinedText();
        return text;
    }
    case TFieldKind::String:
    case TFieldKind::Note: return "at most " + std::to_string(str.Limit()) + " characters";
    case TFieldKind::Check: return "on|off";
    case TFieldKind::Radio:
    case TFieldKind::Combo:
    case TFieldKind::List: return Choices(*this);
    default: return {};
    }
}

TDialogModel::TDialogModel(THost& host, std::string title_, std::string helpFile)
    : TBaseDialog(host, std::move(helpFile)), title(std::move(title_))
{
}

TDialogModel::~TDialogModel()
{
    // The owner is going away: no callbacks, but the view goes and the command that
    // opens the dialog works again (the next project's dialog uses the same id).
    if (IsOpen()) {
        Host().CloseDialog(*this);
        if (menuCommand != 0)
            Host().EnableCommand(menuCommand, true);
    }
}

void TDialogModel::Group(std::string caption, int column)
{
    group_ = std::move(caption);
    column_ = column;
    ++section_;
}

TField& TDialogModel::Add(TFieldKind kind, int id, std::string label)
{
    TField& f = fields_.emplace_back();
    f.kind = kind;
    f.id = id;
    f.label = std::move(label);
    f.group = group_;
    f.column = column_;
    f.section = section_;
    return f;
}

TField& TDialogModel::AddField(int id, const TFieldInfo& info, TFieldBinding binding)
{
    TField* f = nullptr;
    switch (info.kind) {
    case TValueKind::Real:
        f = &AddDouble(id, info.label, info.unit, info.format, info.minimum, info.maximum, 0.0);
        if (info.undefined)
            f->Undefined(*info.undefined, info.undefinedText);
        break;
    case TValueKind::Whole:
        f = &AddLong(id, info.label, info.unit, info.format, static_cast<std::int32_t>(info.minimum),
                     static_cast<std::int32_t>(info.maximum), 0);
        if (info.undefined)
            f->Undefined(*info.undefined);
        break;
    case TValueKind::Switch: f = &AddCheck(id, "", info.label, false); break;
    }
    if (info.readOnly)
        f->ReadOnly();
    f->scale = info.scale;
    f->binding = std::move(binding);
    return *f;
}

TField& TDialogModel::AddDouble(int id, std::string label, std::string unit, std::string format, double minimum,
                                double maximum, double value)
{
    TField& f = Add(TFieldKind::Double, id, std::move(label));
    f.unit = std::move(unit);
    f.dbl = TDblEdit(std::move(format), minimum, maximum, value);
    return f;
}

TField& TDialogModel::AddLong(int id, std::string label, std::string unit, std::string format,
                              std::int32_t minimum, std::int32_t maximum, std::int32_t value, std::int32_t step)
{
    TField& f = Add(TFieldKind::Long, id, std::move(label));
    f.unit = std::move(unit);
    f.lng = TLongEdit(std::move(format), minimum, maximum, value, step);
    return f;
}

TField& TDialogModel::AddString(int id, std::string label, std::size_t limit, std::string text)
{
    TField& f = Add(TFieldKind::String, id, std::move(label));
    f.str = TStrEdit(limit, std::move(text));
    return f;
}

TField& TDialogModel::AddNote(int id, std::string label, std::size_t limit, std::string text)
{
    TField& f = Add(TFieldKind::Note, id, std::move(label));
    f.str = TStrEdit(limit, std::move(text));
    return f;
}

TField& TDialogModel::AddCheck(int id, std::string label, std::string text, bool checked)
{
    TField& f = Add(TFieldKind::Check, id, std::move(label));
    f.text = std::move(text);
    f.checked = checked;
    return f;
}

TField& TDialogModel::AddRadio(int id, std::string label, std::vector<std::string> choices, int selected)
{
    TField& f = Add(TFieldKind::Radio, id, std::move(label));
    f.items = std::move(choices);
    f.selected = selected;
    return f;
}

TField& TDialogModel::AddCombo(int id, std::string label, std::vector<std::string> items, int selected)
{
    TField& f = Add(TFieldKind::Combo, id, std::move(label));
    f.items = std::move(items);
    f.selected = selected;
    return f;
}

TField& TDialogModel::AddList(int id, std::string label, std::vector<std::string> items, int selected)
{
    TField& f = Add(TFieldKind::List, id, std::move(label));
    f.items = std::move(items);
    f.selected = selected;
    return f;
}

TField& TDialogModel::AddButton(int id, std::string text, bool bottom)
{
    TField& f = Add(TFieldKind::Button, id, {});
    f.text = std::move(text);
    f.bottom = bottom;
    return f;
}

TField& TDialogModel::AddText(int id, std::string label, std::string text)
{
    TField& f = Add(TFieldKind::Text, id, std::move(label));
    f.text = std::move(text);
    return f;
}

TField& TDialogModel::AddDrawing(int id, int width, int height, std::function<void(TCanvas&)> paint)
{
    TField& f = Add(TFieldKind::Drawn, id, {});
    f.drawWidth = width;
    f.drawHeight = height;
    f.paint = std::move(paint);
    return f;
}

TField& TDialogModel::AddOk(std::string text)
{
    SetHasOk(true);
    return AddButton(OkId, std::move(text), true);
}

TField* TDialogModel::Find(int id)
{
    for (TField& f : fields_)
        if (f.id == id)
            return &f;
    return nullptr;
}

const TField* TDialogModel::Find(int id) const
{
    for (const TField& f : fields_)
        if (f.id == id)
            return &f;
    return nullptr;
}

TField& TDialogModel::Field(int id)
{
    TField* f = Find(id);
    if (!f)
        std::abort(); // a dialog asking for a field it never added is a programming error
    return *f;
}

const TField& TDialogModel::Field(int id) const
{
    const TField* f = Find(id);
    if (!f)
        std::abort();
    return *f;
}

void TDialogModel::SetItems(int id, std::vector<std::string> items, int selected)
{
    TField& f = Field(id);
    f.items = std::move(items);
    f.selected = selected;
}

void TDialogModel::SetText(int id, std::string text)
{
    TField& f = Field(id);
    if (f.kind == TFieldKind::String || f.kind == TFieldKind::Note)
        f.str.SetText(std::move(text));
    else
        f.text = std::move(text);
}

std::vector<int> TDialogModel::TabOrder() const
{
    std::vector<int> order;
    for (const TField& f : fields_)
        if (f.Focusable())
            order.push_back(f.id);
    return order;
}

void TDialogModel::Changed(TField& field)
{
    int id = field.id;
    if (field.onChange)
        field.onChange(field);
    if (field.binding.write)
        Write(field);
    if (onFieldChanged)
        onFieldChanged(id);
}

void TDialogModel::Write(TField& field)
{
    if (field.binding.write(field.Number() * field.scale)) {
        // Copied: a follow-up may reload or rebuild what it belongs to.
        if (auto next = field.binding.then ? field.binding.then : afterCommit)
            next();
    }
    LoadBound(true);
}

namespace {
// A number the live object holds, as an integer field can show it.
std::int32_t WholeValue(double shown)
{
    if (!std::isfinite(shown))
        return 0;
    return static_cast<std::int32_t>(std::lround(std::clamp(shown, -2147483648.0, 2147483647.0)));
}

int ChoiceIndex(double value, std::size_t count)
{
    if (!std::isfinite(value) || value < 0.0 || value >= static_cast<double>(count))
        return -1;
    return static_cast<int>(value);
}
} // namespace

void TDialogModel::LoadField(TField& f, bool keepTyping)
{
    const TFieldBinding& b = f.binding;
    if (b.enabled)
        f.enabled = b.enabled();
    const bool typing = keepTyping && ((f.kind == TFieldKind::Double && f.dbl.Modified()) ||
                                       (f.kind == TFieldKind::Long && f.lng.Modified()) ||
                                       ((f.kind == TFieldKind::String || f.kind == TFieldKind::Note) &&
                                        f.id == FocusedId()));
    // What the user is typing stays as it is, format and range included, until it commits.
    if (typing)
        return;
    if (b.read) {
        const double stored = b.read();
        switch (f.kind) {
        case TFieldKind::Double: f.dbl.SetValue(stored / f.scale); break;
        case TFieldKind::Long: f.lng.SetValue(WholeValue(stored / f.scale)); break;
        case TFieldKind::Check: f.checked = stored != 0.0; break;
        case TFieldKind::Radio:
        case TFieldKind::Combo:
        case TFieldKind::List: f.selected = ChoiceIndex(stored, f.items.size()); break;
        default: break;
        }
    }
    if (b.text) {
        if (f.kind == TFieldKind::String || f.kind == TFieldKind::Note)
            f.str.SetText(b.text());
        else
            f.text = b.text();
    }
    if (b.refresh)
        b.refresh(f);
}

void TDialogModel::LoadBound(bool keepTyping)
{
    for (TField& f : fields_)
        if (f.binding.Loads())
            LoadField(f, keepTyping);
}

void TDialogModel::Apply(TField& field, const TEditResult& result)
{
    if (result.beep)
        Host().Beep();
    if (result.notify)
        Changed(field);
}

void TDialogModel::CommitField(int id)
{
    TField* f = Find(id);
    if (!f)
        return;
    switch (f->kind) {
    case TFieldKind::Double: Apply(*f, f->dbl.Commit()); break;
    case TFieldKind::Long: Apply(*f, f->lng.Commit()); break;
    case TFieldKind::String:
    case TFieldKind::Note: Apply(*f, f->str.Commit()); break;
    default: break; // the other kinds report their changes at once
    }
}

void TDialogModel::FieldFocused(int id)
{
    if (TField* f = Find(id)) {
        f->dbl.FocusIn();
        f->lng.FocusIn();
    }
}

void TDialogModel::Edit(int id, std::string text)
{
    TField* f = Find(id);
    if (!f || !f->enabled)
        return;
    switch (f->kind) {
    case TFieldKind::Double:
        if (!f->dbl.ReadOnly())
            f->dbl.Edit(std::move(text));
        break;
    case TFieldKind::Long:
        if (!f->lng.ReadOnly())
            f->lng.Edit(std::move(text));
        break;
    case TFieldKind::String:
    case TFieldKind::Note: f->str.Edit(std::move(text)); break;
    default: break;
    }
}

void TDialogModel::Key(int id, TEditKey key)
{
    TField* f = Find(id);
    if (!f || !f->enabled)
        return;
    if (f->kind == TFieldKind::Double)
        Apply(*f, f->dbl.Key(key));
    else if (f->kind == TFieldKind::Long)
        Apply(*f, f->lng.Key(key));
}

void TDialogModel::Toggle(int id, bool checked)
{
    TField* f = Find(id);
    if (!f || !f->enabled || f->kind != TFieldKind::Check)
        return;
    f->checked = checked;
    Changed(*f);
}

void TDialogModel::Select(int id, int index)
{
    TField* f = Find(id);
    if (!f || !f->enabled || index < -1 || index >= static_cast<int>(f->items.size()) || f->selected == index ||
        !f->ItemEnabled(index))
        return;
    f->selected = index;
    Changed(*f);
}

void TDialogModel::Press(int id)
{
    TField* f = Find(id);
    if (!f || !f->enabled || f->kind != TFieldKind::Button)
        return;
    // A click puts the focus on the button first, which commits the field being edited.
    FocusField(id);
    if (id == OkId)
        Enter();
    else if (id == CancelId)
        Escape();
    else if (onCommand)
        onCommand(id);
}

void TDialogModel::Activate(int id)
{
    TField* f = Find(id);
    if (f && f->enabled && f->kind == TFieldKind::List && onCommand)
        onCommand(id);
}

void TDialogModel::StepList(int id, int direction)
{
    TField* f = Find(id);
    if (f && f->enabled && f->kind == TFieldKind::List && direction != 0 && onListStep)
        onListStep(id, direction < 0 ? -1 : 1);
}

namespace {
// Menu may be const or not: the entry comes back as the menu is.
template <class Menu>
auto FindCommand(Menu& items, int id) -> decltype(&items.front())
{
    for (auto& item : items) {
        if (item.id == id && id != 0)
            return &item;
        if (auto* inner = FindCommand(item.items, id))
            return inner;
    }
    return nullptr;
}
} // namespace

void TDialogModel::SetItemEnabled(int id, int index, bool enabled)
{
    TField& f = Field(id);
    if (index < 0 || index >= static_cast<int>(f.items.size()))
        return;
    f.itemDisabled.resize(f.items.size(), false);
    f.itemDisabled[static_cast<std::size_t>(index)] = !enabled;
}

void TDialogModel::SetItemVisible(int id, int index, bool visible)
{
    TField& f = Field(id);
    if (index < 0 || index >= static_cast<int>(f.items.size()))
        return;
    f.itemHidden.resize(f.items.size(), false);
    f.itemHidden[static_cast<std::size_t>(index)] = !visible;
}

void TDialogModel::EnableCommand(int id, bool enabled)
{
    if (TMenuItem* item = FindCommand(menu, id))
        item->enabled = enabled;
}

bool TDialogModel::CommandEnabled(int id) const
{
    const TMenuItem* item = FindCommand(menu, id);
    return item && item->enabled;
}

void TDialogModel::Command(int id)
{
    // A grey menu entry does nothing; commands that are not in the menu (accelerators
    // the owner routes here) are not affected.
    if (const TMenuItem* item = FindCommand(menu, id); item && !item->enabled)
        return;
    // Like a click elsewhere in the window: what was typed counts before the command runs.
    if (int focused = FocusedId(); focused != 0) {
        CommitField(focused);
        FieldFocused(focused);
    }
    if (onCommand)
        onCommand(id);
}

void TDialogModel::Type(int id, std::string text)
{
    FocusField(id);
    Edit(id, std::move(text));
}

void TDialogModel::Open()
{
    if (IsOpen()) {
        Host().ShowDialog(*this);
        return;
    }
    RestorePosition();
    LoadBound(false);
    SetOpen(true);
    ResetProtocol();
    if (menuCommand != 0)
        Host().EnableCommand(menuCommand, false);
    Host().ShowDialog(*this);
}

void TDialogModel::Reload()
{
    LoadBound(false);
    if (onLoad)
        onLoad();
    if (IsOpen())
        Host().RefreshDialog(*this);
}

void TDialogModel::Close()
{
    if (!IsOpen())
        return;
    SetOpen(false);
    Host().CloseDialog(*this);
    if (menuCommand != 0)
        Host().EnableCommand(menuCommand, true);
    SavePosition();
    // The last call: the owner may destroy the model here, so run a copy.
    if (auto closed = onClose)
        closed();
}

bool TDialogModel::Finish()
{
    if (canClose && !canClose())
        return false;
    Close();
    return true;
}
