#include "filter/TNetAWizard.h"

#include "filter/TNetA.h"
#include "filter/TNetAWizardDesign.h"
#include "ui/THost.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> OrderChoices()
{
    std::vector<std::string> choices;
    choices.reserve(wizard::kMaxOrder + 1);
    for (int n = 0; n <= wizard::kMaxOrder; ++n)
        choices.push_back("N=" + std::to_string(n));
    return choices;
}

// "Branch 1", "Branch 3", ... : every step-th position from the first, count of them.
std::vector<std::string> BranchChoices(int count, int step)
{
    std::vector<std::string> choices;
    choices.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        choices.push_back("Branch " + std::to_string(1 + i * step));
    return choices;
}

const TFieldInfo kCutoffInfo{"Cutoff", "Hz", "%d", wizard::kMinCutoff, wizard::kMaxCutoff, 1.0, TValueKind::Whole};
const TFieldInfo kLoadInfo{"Nom. load", "ohm", "%2.1f", wizard::kMinLoad, wizard::kMaxLoad};

// An order choice bound to a setting; a new order may leave out the chosen insertion
// point, so the point the wizard will use is stored again.
template <class T>
TFieldBinding OrderBinding(T& order, const std::function<void()>& normalise)
{
    return {.read = [&order] { return static_cast<double>(order); },
            .write =
                [&order](double index) {
                    if (!(index >= 0 && index <= wizard::kMaxOrder))
                        return false;
                    order = static_cast<T>(index);
                    return true;
                },
            .then = normalise};
}

// The insertion choice: shows the entry the stored point stands for and stores the
// chosen one; its entries follow the orders (the choice is read against them).
TFieldBinding InsertionBinding(TNetAWizardSettings& s, int (*index)(const TNetAWizardSettings&),
                               int (*count)(const TNetAWizardSettings&), int step)
{
    return {.read = [&s, index] { return static_cast<double>(index(s)); },
            .write =
                [&s, count](double chosen) {
                    if (!(chosen >= 0 && chosen < count(s)))
                        return false;
                    s.insertion = static_cast<std::int16_t>(chosen);
                    return true;
                },
            .then = [] {},
            .refresh =
                [&s, index, count, step](TField& f) {
                    f.items = BranchChoices(count(s), step);
                    f.selected = index(s);
                }};
}

} // namespace

TNetAWizard::TNetAWizard(THost& host, TNetA& net, std::function<void()> applied)
    : TDialogModel(host, "Advanced network wizard", "netpa_w.txt"), net_(net), applied_(std::move(applied))
{
    modal = true;
    TNetAWizardSettings& s = net_.wizard;
    const auto normalise = [&s] { s.insertion = static_cast<std::int16_t>(wizard::PassiveInsertionIndex(s)); };
    Group("LP Filter section");
    AddCombo(kLowPassOrder, "Filter order", OrderChoices(), 0).Bind(OrderBinding(s.lowPassOrder, normalise));
    AddField(kLowPassCutoff, kCutoffInfo, BindMember(s.lowPassCutoff));
    Group("HP Filter section");
    AddCombo(kHighPassOrder, "Filter order", OrderChoices(), 0).Bind(OrderBinding(s.highPassOrder, normalise));
    AddField(kHighPassCutoff, kCutoffInfo, BindMember(s.highPassCutoff));
    Group("");
    AddField(kLoad, kLoadInfo, BindMember(s.nominalLoad));
    AddCombo(kInsertion, "Insertion point", {}, 0)
        .Bind(InsertionBinding(s, wizard::PassiveInsertionIndex, wizard::PassiveInsertionCount, 2));
    AddButton(kCalc, "Calc", true);
    AddOk("&Close");
    onCommand = [this](int id) {
        if (id != kCalc)
            return;
        if (!wizard::ApplyPassive(net_, net_.wizard)) {
            Host().Beep();
            return;
        }
        if (applied_)
            applied_();
        Reload();
    };
}

TNetACWizard::TNetACWizard(THost& host, TNetA& net, std::function<void()> applied)
    : TDialogModel(host, "Active crossover wizard", "netac_w.txt"), net_(net), applied_(std::move(applied))
{
    modal = true;
    TNetAWizardSettings& s = net_.wizard;
    Group("Filter section");
    AddCombo(kOrder, "Filter order", OrderChoices(), 0).Bind(OrderBinding(s.order, [&s] {
        s.insertion = static_cast<std::int16_t>(wizard::ActiveInsertionIndex(s));
    }));
    AddField(kCutoff, kCutoffInfo, BindMember(s.cutoff));
    AddRadio(kFilter, "Filter", {"LP", "HP"}, kLowPass)
        .Horizontal()
        .Bind({.read = [&s] { return static_cast<double>(s.lowPass ? kLowPass : kHighPass); },
               .write =
                   [&s](double index) {
                       if (index != kLowPass && index != kHighPass)
                           return false;
                       s.lowPass = index == kLowPass ? 1 : 0;
                       return true;
                   }});
    Group("");
    AddCombo(kInsertion, "Insertion point", {}, 0)
        .Bind(InsertionBinding(s, wizard::ActiveInsertionIndex, wizard::ActiveInsertionCount, 1));
    AddButton(kCalc, "Calc", true);
    AddOk("&Close");
    onCommand = [this](int id) {
        if (id != kCalc)
            return;
        if (!wizard::ApplyActive(net_, net_.wizard)) {
            Host().Beep();
            return;
        }
        if (applied_)
            applied_();
        Reload();
    };
}
