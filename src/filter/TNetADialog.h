#pragma once
// The dialog of one advanced network: the branch list (a heading, the type and the
// components in use of every position), the optimisation list, the network's flags, the
// gain of an active network and the characteristic text of the selected line's branch.
// A double click on a heading or type line opens the branch type dialog, on a component
// line the component value dialog; left and right step the selected component.

#include "ui/TDialogModel.h"

#include <functional>
#include <memory>
#include <vector>

class TNetA;
class TBranchA;
class TCompA;
class TNetAOptDialog;

// The branch type dialog: one radio choice per type of the network's mode.
class TBranchTypeDialog : public TDialogModel {
public:
    static constexpr int kTypes = 101;
    // The type dialog of the branch's mode ("Passive branch type" or "Active branch
    // type"); onClose of the owner applies the choice after OK.
    TBranchTypeDialog(THost& host, const TBranchA& branch);
};

// The component value dialog: the value in its shown unit, labelled with the name.
class TCompValueDialog : public TDialogModel {
public:
    static constexpr int kValue = 102;
    TCompValueDialog(THost& host, const TCompA& comp);
    // The shown value divided by the unit factor the dialog opened with.
    double StoredValue() const;
    // Opens the dialog on comp in slot (closing what the slot held). After OK with a new
    // value the component takes it and changed(comp) follows; a refused value beeps.
    static void OpenIn(std::unique_ptr<TDialogModel>& slot, THost& host, TCompA& comp,
                       std::function<void(TCompA&)> changed);

private:
    double factor_;
};

class TNetADialog : public TDialogModel {
public:
    static constexpr int kBranches = 101, kOptimisation = 102, kAdd = 103, kRemove = 104, kWizard = 106,
                         kDisconnect = 107, kCharacteristic = 108, kOptimize = 109, kGain = 110, kNoComponents = 111,
                         kMode = 112;
    // Choices of kMode.
    static constexpr int kActive = 0, kPassive = 1;

    TNetADialog(THost& host, TNetA& net);
    ~TNetADialog() override;

    // What a line of the branch list stands for.
    enum class TLineKind { Heading, Type, Component, Blank };
    struct TLine {
        TLineKind kind = TLineKind::Blank;
        int position = 0;       // the branch position
        TCompA* comp = nullptr; // Component lines
    };
    const std::vector<TLine>& Lines() const { return lines_; }
    const std::vector<TCompA*>& OptimisationEntries() const { return optimisation_; }
    // The line of list 101 that shows a heading, type or component; -1 when not shown.
    int LineOf(TLineKind kind, int position, const TCompA* comp = nullptr) const;

    // The type or value dialog a double click opened, or the wizard, while it is open;
    // else nullptr.
    TDialogModel* OpenSubDialog() const;

    // Refills both lists and the text from the network (after an outside change: the
    // driver count, a recall, a read).
    void Rebuild();

    // Button 109: prepares and opens the network's optimiser dialog (modal), or raises
    // the open one. The optimiser dialog while it is open, else nullptr.
    TNetAOptDialog* OpenOptimiser();
    TNetAOptDialog* OptimiserDialog() const;

private:
    void Double(int list);
    void Step(int list, int direction);
    void AddSelected();
    void RemoveSelected();
    void OpenTypeDialog(int position);
    void OpenValueDialog(TCompA& comp);
    // "&Wizard": the active or the passive wizard, by the network's mode.
    void OpenWizard();
    TCompA* SelectedComp(int list) const;
    int SelectedPosition() const;
    void ChangedComp(TCompA& comp);
    std::vector<TListedValue> ListedValues();
    bool SetTypeByText(int position, const std::string& text);
    bool SetValueByText(TCompA& comp, const std::string& text);
    bool SetOptimisedByText(TCompA& comp, const std::string& text);

    TNetA& net_;
    std::vector<TLine> lines_;
    std::vector<TCompA*> optimisation_;
    std::unique_ptr<TDialogModel> sub_;
    std::unique_ptr<TNetAOptDialog> optimiser_;
};
