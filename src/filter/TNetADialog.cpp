#include "filter/TNetADialog.h"

#include "filter/TBranchA.h"
#include "filter/TCompA.h"
#include "filter/TNetA.h"
#include "filter/TNetAOptDialog.h"
#include "filter/TNetAWizard.h"
#include "ui/THost.h"
#include "ui/TSwitchText.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Lower case, blanks trimmed and runs of blanks as one: how typed choices are compared.
std::string Folded(const std::string& text)
{
    std::string out;
    for (char c : Trimmed(text)) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
            continue;
        }
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

// "* Branch 01 *" -> "Branch 01": the name the command line uses for the branch.
std::string BranchName(const TBranchA& branch)
{
    std::string heading = branch.Heading();
    heading.erase(std::remove(heading.begin(), heading.end(), '*'), heading.end());
    return Trimmed(heading);
}

// What the list shows for type 0, which the type dialog calls " None".
std::string TypeZeroText(const TBranchA& branch)
{
    if (!branch.Passive())
        return " Nothing";
    return branch.Placement() == TPlacement::Series ? " Short circuit" : " Open circuit";
}

// A limit as the value dialog's range shows it, short and with a ".".
std::string LimitText(double shown)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", shown);
    return text;
}

} // namespace

TBranchTypeDialog::TBranchTypeDialog(THost& host, const TBranchA& branch)
    : TDialogModel(host, branch.Passive() ? "Passive branch type" : "Active branch type")
{
    modal = true;
    std::vector<std::string> types;
    for (int t = 0; t < branch.TypeCount(); ++t)
        types.emplace_back(branch.TypeText(t));
    AddRadio(kTypes, "", std::move(types), branch.Type());
    AddOk();
    AddButton(CancelId, "&Cancel", true);
}

TCompValueDialog::TCompValueDialog(THost& host, const TCompA& comp)
    : TDialogModel(host, "Component value"), factor_(comp.DisplayFactor())
{
    modal = true;
    AddDouble(kValue, comp.Name(), comp.Unit(), comp.DisplayFormat(), comp.Minimum() * factor_,
              comp.Maximum() * factor_, comp.Value() * factor_);
    AddOk();
    AddButton(CancelId, "&Cancel", true);
}

double TCompValueDialog::StoredValue() const { return Field(kValue).dbl.Value() / factor_; }

void TCompValueDialog::OpenIn(std::unique_ptr<TDialogModel>& slot, THost& host, TCompA& comp,
                              std::function<void(TCompA&)> changed)
{
    if (slot)
        slot->Close();
    auto dialog = std::make_unique<TCompValueDialog>(host, comp);
    TCompValueDialog* d = dialog.get();
    d->onClose = [d, &host, &comp, changed = std::move(changed)] {
        // The field kept the entry within the limits in shown units; dividing by the
        // factor may land a rounding step outside them.
        const double value = std::clamp(d->StoredValue(), comp.Minimum(), comp.Maximum());
        if (d->ReturnValue() != 1 || value == comp.Value())
            return;
        if (!comp.SetValue(value)) {
            host.Beep();
            return;
        }
        changed(comp);
    };
    slot = std::move(dialog);
    slot->Open();
}

TNetADialog::TNetADialog(THost& host, TNetA& net) : TDialogModel(host, net.Name(), "net.txt"), net_(net)
{
    menuCommand = 13021 + net.Index();

    Group("Branches");
    AddList(kBranches, "", {}, -1).Rows(16).Width(28);
    AddText(kCharacteristic, "");
    Group("Optimisation", 1);
    AddList(kOptimisation, "", {}, -1).Rows(8).Width(22);
    AddButton(kAdd, "&Add ->");
    AddButton(kRemove, "&Remove");
    AddButton(kOptimize, "&Optimize");
    AddButton(kWizard, "&Wizard");
    Group("Network", 1);
    AddRadio(kMode, "Filter", {"Active", "Passive"}, kPassive)
        .Horizontal()
        .Bind({.read = [this] { return static_cast<double>(net_.Active() ? kActive : kPassive); },
               .write =
                   [this](double index) {
                       if (index != kActive && index != kPassive)
                           return false;
                       const bool active = index == kActive;
                       if (active != net_.Active())
                           net_.SetActive(active);
                       return true;
                   },
               .then =
                   [this] {
                       Rebuild();
                       net_.Edited();
                   }});
    AddField(kDisconnect, {.label = "Disconnect", .kind = TValueKind::Switch}, BindMember(net.disconnect));
    AddField(kNoComponents, {.label = "No components", .kind = TValueKind::Switch}, BindMember(net.noComponents));
    AddField(kGain, {"Gain", "dB", "%2.1f", TNetA::kMinGainDb, TNetA::kMaxGainDb},
             {.read = [this] { return net_.GainDb(); },
              .write = [this](double db) { return net_.SetGainDb(db); },
              .refresh = [this](TField& f) { f.visible = net_.Active(); }});
    AddOk();

    afterCommit = [this] { net_.Edited(); };
    onFieldChanged = [this](int id) {
        if (id == kBranches)
            SetText(kCharacteristic,
                    SelectedPosition() < 0 ? std::string() : net_.Branch(SelectedPosition())->CharacteristicText());
    };
    onCommand = [this](int id) {
        switch (id) {
        case kBranches:
        case kOptimisation: Double(id); break;
        case kAdd: AddSelected(); break;
        case kRemove: RemoveSelected(); break;
        case kWizard: OpenWizard(); break;
        case kOptimize: OpenOptimiser(); break;
        default: break;
        }
    };
    onListStep = [this](int id, int direction) { Step(id, direction); };
    onLoad = [this] { Rebuild(); };
    onClose = [this] {
        if (sub_)
            sub_->Close();
        if (optimiser_)
            optimiser_->Abandon();
    };
    listedValues = [this] { return ListedValues(); };
    openChildren = [this] {
        std::vector<TDialogModel*> open;
        if (TDialogModel* sub = OpenSubDialog())
            open.push_back(sub);
        if (TNetAOptDialog* optimiser = OptimiserDialog())
            open.push_back(optimiser);
        return open;
    };
    Rebuild();
}

TNetADialog::~TNetADialog() = default;

TNetAOptDialog* TNetADialog::OptimiserDialog() const
{
    return optimiser_ && optimiser_->IsOpen() ? optimiser_.get() : nullptr;
}

TNetAOptDialog* TNetADialog::OpenOptimiser()
{
    if (TNetAOptDialog* open = OptimiserDialog()) {
        open->Open(); // raises it
        return open;
    }
    // A closed one is made anew: its posted sweeps find their token gone.
    optimiser_ = std::make_unique<TNetAOptDialog>(Host(), net_, *this);
    optimiser_->Prepare();
    optimiser_->Open();
    return optimiser_.get();
}

void TNetADialog::Rebuild()
{
    // The selection stays on what it showed, wherever that line moves to.
    const int before = Selected(kBranches);
    const TLine kept = before >= 0 && before < static_cast<int>(lines_.size())
                           ? lines_[static_cast<std::size_t>(before)]
                           : TLine{TLineKind::Blank, -1, nullptr};
    lines_.clear();
    optimisation_.clear();
    std::vector<std::string> items;
    std::array<int, TNetA::kPositions> positions{};
    const int count = net_.ListedPositions(positions);
    for (int i = 0; i < count; ++i) {
        const int p = positions[static_cast<std::size_t>(i)];
        TBranchA* branch = net_.Branch(p);
        if (!branch)
            continue;
        lines_.push_back({TLineKind::Heading, p, nullptr});
        items.push_back(branch->Heading());
        lines_.push_back({TLineKind::Type, p, nullptr});
        items.push_back(branch->TypeLine());
        std::array<TCompA*, TBranchA::kMaxListed> comps{};
        const int n = branch->ListedComponents(comps);
        for (int c = 0; c < n; ++c) {
            TCompA* comp = comps[static_cast<std::size_t>(c)];
            lines_.push_back({TLineKind::Component, p, comp});
            items.push_back(comp->ListLine());
            if (comp->inOptimisation)
                optimisation_.push_back(comp);
        }
        lines_.push_back({TLineKind::Blank, p, nullptr});
        items.emplace_back("  ");
    }
    int selected = LineOf(kept.kind, kept.position, kept.comp);
    if (selected < 0)
        selected = std::min(before, static_cast<int>(items.size()) - 1);
    SetItems(kBranches, std::move(items), selected);
    std::vector<std::string> entries;
    for (const TCompA* comp : optimisation_)
        entries.push_back(comp->ListLine());
    const int entry = std::min(Selected(kOptimisation), static_cast<int>(entries.size()) - 1);
    SetItems(kOptimisation, std::move(entries), entry);
    SetText(kCharacteristic,
            SelectedPosition() < 0 ? std::string() : net_.Branch(SelectedPosition())->CharacteristicText());
    if (IsOpen())
        Host().RefreshDialog(*this);
}

int TNetADialog::LineOf(TLineKind kind, int position, const TCompA* comp) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == kind && lines_[i].position == position &&
            (kind != TLineKind::Component || lines_[i].comp == comp))
            return static_cast<int>(i);
    return -1;
}

TDialogModel* TNetADialog::OpenSubDialog() const { return sub_ && sub_->IsOpen() ? sub_.get() : nullptr; }

int TNetADialog::SelectedPosition() const
{
    const int line = Selected(kBranches);
    if (line < 0 || line >= static_cast<int>(lines_.size()))
        return -1;
    return lines_[static_cast<std::size_t>(line)].position;
}

TCompA* TNetADialog::SelectedComp(int list) const
{
    const int line = Selected(list);
    if (list == kOptimisation)
        return line >= 0 && line < static_cast<int>(optimisation_.size())
                   ? optimisation_[static_cast<std::size_t>(line)]
                   : nullptr;
    if (line < 0 || line >= static_cast<int>(lines_.size()))
        return nullptr;
    return lines_[static_cast<std::size_t>(line)].comp;
}

void TNetADialog::Double(int list)
{
    if (TCompA* comp = SelectedComp(list)) {
        OpenValueDialog(*comp);
        return;
    }
    if (list != kBranches)
        return;
    const int line = Selected(kBranches);
    if (line < 0 || line >= static_cast<int>(lines_.size()))
        return;
    const TLine& l = lines_[static_cast<std::size_t>(line)];
    if (l.kind == TLineKind::Heading || l.kind == TLineKind::Type)
        OpenTypeDialog(l.position);
}

void TNetADialog::OpenTypeDialog(int position)
{
    TBranchA* branch = net_.Branch(position);
    if (!branch)
        return;
    if (sub_)
        sub_->Close();
    auto dialog = std::make_unique<TBranchTypeDialog>(Host(), *branch);
    TBranchTypeDialog* d = dialog.get();
    d->onClose = [this, d, position] {
        if (d->ReturnValue() != 1)
            return;
        TBranchA* b = net_.Branch(position);
        const int type = d->Selected(TBranchTypeDialog::kTypes);
        if (!b || type == b->Type())
            return;
        // The type leaves its components out of the optimisation list and dirty.
        if (!b->SetType(type))
            return;
        Rebuild();
        net_.Edited();
    };
    sub_ = std::move(dialog);
    sub_->Open();
}

void TNetADialog::OpenValueDialog(TCompA& comp)
{
    TCompValueDialog::OpenIn(sub_, Host(), comp, [this](TCompA& c) { ChangedComp(c); });
}

void TNetADialog::OpenWizard()
{
    if (sub_)
        sub_->Close();
    // After "Calc" the schematic, the project and both lists show the new branches.
    auto applied = [this] {
        net_.Edited();
        Rebuild();
    };
    if (net_.Active())
        sub_ = std::make_unique<TNetACWizard>(Host(), net_, applied);
    else
        sub_ = std::make_unique<TNetAWizard>(Host(), net_, applied);
    sub_->onClose = [this] { net_.MarkDirty(); };
    sub_->Open();
}

void TNetADialog::ChangedComp(TCompA& comp)
{
    comp.MarkDirty();
    for (const TLine& l : lines_)
        if (l.comp == &comp)
            if (TBranchA* b = net_.Branch(l.position))
                b->MarkDirty();
    Rebuild();
    net_.Edited();
}

void TNetADialog::Step(int list, int direction)
{
    TCompA* comp = SelectedComp(list);
    if (!comp)
        return;
    if (!(direction > 0 ? comp->StepUp() : comp->StepDown())) {
        Host().Beep();
        return;
    }
    ChangedComp(*comp);
}

void TNetADialog::AddSelected()
{
    TCompA* comp = SelectedComp(kBranches);
    if (!comp) {
        Host().Beep();
        return;
    }
    if (comp->inOptimisation) {
        Host().Message("Item already selected", title, TMsgButtons::Ok, TMsgIcon::Information);
        return;
    }
    comp->inOptimisation = true;
    Rebuild();
    SetSelected(kOptimisation,
                static_cast<int>(std::find(optimisation_.begin(), optimisation_.end(), comp) - optimisation_.begin()));
    net_.Owner().MarkChanged();
}

void TNetADialog::RemoveSelected()
{
    TCompA* comp = SelectedComp(kOptimisation);
    if (!comp)
        return;
    comp->inOptimisation = false;
    Rebuild();
    net_.Owner().MarkChanged();
}

bool TNetADialog::SetTypeByText(int position, const std::string& text)
{
    TBranchA* branch = net_.Branch(position);
    const int line = LineOf(TLineKind::Heading, position);
    if (!branch || line < 0)
        return false;
    const std::string wanted = Folded(text);
    int type = -1;
    for (int t = 0; t < branch->TypeCount() && type < 0; ++t)
        if (Folded(branch->TypeText(t)) == wanted)
            type = t;
    // Type 0 as the list shows it: "Short circuit", "Open circuit", "Nothing".
    if (type < 0 && wanted == Folded(TypeZeroText(*branch)))
        type = 0;
    if (type < 0)
        return false;
    // What a user does: select the heading, double-click it, choose, OK.
    Select(kBranches, line);
    Activate(kBranches);
    TDialogModel* d = OpenSubDialog();
    if (!d)
        return false;
    d->Select(TBranchTypeDialog::kTypes, type);
    d->Press(OkId);
    return branch->Type() == type;
}

bool TNetADialog::SetValueByText(TCompA& comp, const std::string& text)
{
    int at = -1;
    for (std::size_t i = 0; i < lines_.size() && at < 0; ++i)
        if (lines_[i].comp == &comp)
            at = static_cast<int>(i);
    if (at < 0)
        return false;
    Select(kBranches, at);
    Activate(kBranches);
    TDialogModel* d = OpenSubDialog();
    if (!d)
        return false;
    // The value field's own rule decides, as when the user types and confirms.
    TDblEdit probe = d->Dbl(TCompValueDialog::kValue);
    probe.FocusIn();
    probe.Edit(text);
    const TEditResult result = probe.Commit();
    if (result.beep || !result.notify) {
        d->Close();
        return false;
    }
    d->Type(TCompValueDialog::kValue, text);
    d->Press(OkId);
    return true;
}

bool TNetADialog::SetOptimisedByText(TCompA& comp, const std::string& text)
{
    bool on = false;
    if (!ParseSwitchText(text, on))
        return false;
    if (on == comp.inOptimisation)
        return true;
    if (on) {
        for (std::size_t i = 0; i < lines_.size(); ++i)
            if (lines_[i].comp == &comp)
                Select(kBranches, static_cast<int>(i));
        Press(kAdd);
    } else {
        const auto it = std::find(optimisation_.begin(), optimisation_.end(), &comp);
        Select(kOptimisation, static_cast<int>(it - optimisation_.begin()));
        Press(kRemove);
    }
    return comp.inOptimisation == on;
}

std::vector<TListedValue> TNetADialog::ListedValues()
{
    std::vector<TListedValue> out;
    for (const TLine& line : lines_) {
        TBranchA* branch = net_.Branch(line.position);
        if (!branch)
            continue;
        if (line.kind == TLineKind::Heading) {
            std::string accepted;
            for (int t = 0; t < branch->TypeCount(); ++t)
                accepted += (t ? "|" : "") + Trimmed(t == 0 ? TypeZeroText(*branch) : branch->TypeText(t));
            const int position = line.position;
            out.push_back({BranchName(*branch), Trimmed(branch->TypeLine()), "", accepted,
                           [this, position](const std::string& text) { return SetTypeByText(position, text); }});
        } else if (line.kind == TLineKind::Component) {
            TCompA* comp = line.comp;
            const double factor = comp->DisplayFactor();
            out.push_back({comp->Name(), Trimmed(comp->DisplayText()), comp->Unit(),
                           LimitText(comp->Minimum() * factor) + " .. " + LimitText(comp->Maximum() * factor),
                           [this, comp](const std::string& text) { return SetValueByText(*comp, text); }});
            out.push_back({comp->Name() + " optimise", comp->inOptimisation ? "on" : "off", "", "on|off",
                           [this, comp](const std::string& text) { return SetOptimisedByText(*comp, text); }});
        }
    }
    return out;
}
