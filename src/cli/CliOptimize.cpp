// tonvek-cli optimize: the box optimisers without a window. The frequency fit runs
// through the project's own fit dialog, opened from its box dialog's menu as a user
// opens it, its steps posted on the command-line host and run one at a time, so the
// command line fits exactly as the desktop does; the table lookups and the quick box
// have their own file.

#include "CliBoxSession.h"
#include "CliFilter.h"
#include "CliOptimizeTable.h"
#include "TCliCommand.h"

#include "box/TBoxEmbryo.h"
#include "box/TBoxType.h"
#include "box/optimize/TFitRandom.h"
#include "box/optimize/TOptFitDialog.h"
#include "ui/TDialogModel.h"

#include <charconv>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>

namespace {

constexpr int kDefaultSteps = 200;
// --until-stable: no gain of more than kStableGain dB over kStableSteps steps. A fit
// that keeps creeping still ends after kMaxSteps.
constexpr double kStableGain = 0.001;
constexpr int kStableSteps = 20;
constexpr int kMaxSteps = 100000;

struct TFitOptions {
    std::string project;
    std::optional<std::string> lower, upper;
    bool q = false, frontQ = false, fine = false, untilStable = false;
    int steps = kDefaultSteps;
    std::uint32_t seed = 1;
};

const char* kUsage = "optimize PROJECT.box --fit [--lower HZ] [--upper HZ] [--q] [--front-q] [--fine]\n"
                     "                       [--steps N | --until-stable] [--seed S]";

bool ParseWhole(const std::string& text, long long minimum, long long maximum, long long& value)
{
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && p == end && value >= minimum && value <= maximum;
}

// Types a value into the dialog's field as a user would; a refused value keeps the
// field's old one, and the command fails with the field's range.
bool TypeInto(TOptFitDialog& d, int id, const std::string& text, const char* option)
{
    d.Type(id, text);
    d.FocusField(TOptFitDialog::kRun);
    TField& f = d.Field(id);
    if (f.ShownValue() != text) {
        CliFail(std::string("optimize: ") + option + " " + text + " was refused: " + PlainCaption(f.label) + " takes " +
                f.AcceptedText() + " " + f.unit);
        return false;
    }
    return true;
}

std::string Describe(TFitVariable v, double value)
{
    char text[64];
    switch (v) {
    case TFitVariable::FirstVolume: std::snprintf(text, sizeof text, "volume %.3f l", value * 1000); break;
    case TFitVariable::SecondVolume: std::snprintf(text, sizeof text, "second volume %.3f l", value * 1000); break;
    case TFitVariable::FirstQ: std::snprintf(text, sizeof text, "QB %.3f", value); break;
    case TFitVariable::SecondQ: std::snprintf(text, sizeof text, "second QB %.3f", value); break;
    case TFitVariable::FirstPort: std::snprintf(text, sizeof text, "port %.3f cm", value * 100); break;
    case TFitVariable::SecondPort: std::snprintf(text, sizeof text, "second port %.3f cm", value * 100); break;
    case TFitVariable::RadiatorMass: std::snprintf(text, sizeof text, "Mmp %.3f g", value * 1000); break;
    }
    return text;
}

void PrintStep(const TBoxFit& fit)
{
    std::string line = std::to_string(fit.Steps());
    char error[32];
    std::snprintf(error, sizeof error, "\t%.4f", fit.ShownError());
    line += error;
    for (TFitVariable v : fit.ActiveVariables())
        line += "\t" + Describe(v, fit.Value(v));
    std::printf("%s\n", line.c_str());
}

int RunFit(TProgramContext& context, const TFitOptions& o)
{
    TBoxSession s{context};
    if (!OpenProject(s, o.project))
        return 1;
    TBoxEmbryo& project = *s.project;
    TDialogModel* box = project.BoxDialogModel();
    if (!box)
        return CliFail("optimize: a " + project.Type().title + " has no box dialog");
    box->Open();
    box->Command(TOptFitDialog::kFrequencyFitCommand);
    auto* fit = dynamic_cast<TOptFitDialog*>(project.OptimiserDialog());
    if (!fit)
        return CliFail("optimize: a " + project.Type().title + " has no frequency fit");
    if (o.upper && !fit->Find(TOptFitDialog::kUpperCutoff))
        return CliFail("optimize: --upper is for bandpass boxes; a " + project.Type().title + " has no upper cutoff");
    if (o.frontQ && !fit->Find(TOptFitDialog::kOptimiseFrontQ))
        return CliFail("optimize: --front-q is for boxes with two volumes; a " + project.Type().title + " has one");
    if ((o.lower && !TypeInto(*fit, TOptFitDialog::kLowerCutoff, *o.lower, "--lower")) ||
        (o.upper && !TypeInto(*fit, TOptFitDialog::kUpperCutoff, *o.upper, "--upper")))
        return 1;
    fit->Toggle(TOptFitDialog::kOptimiseQ, o.q);
    if (fit->Find(TOptFitDialog::kOptimiseFrontQ))
        fit->Toggle(TOptFitDialog::kOptimiseFrontQ, o.frontQ);
    fit->Toggle(TOptFitDialog::kFineStep, o.fine);
    fit->SetRandom(TFitRandom(o.seed));

    double best = 0;
    int bestStep = 0;
    bool stable = false;
    fit->onStep = [&](const TBoxFit& f) {
        PrintStep(f);
        if (f.Steps() == 1 || f.ShownError() < best - kStableGain) {
            best = f.ShownError();
            bestStep = f.Steps();
        }
        stable = f.Steps() - bestStep >= kStableSteps;
    };
    fit->Press(TOptFitDialog::kRun);
    if (!fit->Running())
        return 1; // the dialog said why
    const int limit = o.untilStable ? kMaxSteps : o.steps;
    while (fit->Fit().Steps() < limit && !(o.untilStable && stable) && s.host.RunDeferred(1) == 1) {
    }
    // As a user halts: the press is seen by the next step, which ends the run.
    fit->Press(TOptFitDialog::kHalt);
    s.host.RunDeferred(1);
    fit->Close();
    return SaveProject(s, o.project) ? 0 : 1;
}

int RunOptimize(TProgramContext& context, const TCliArgs& args)
{
    for (const std::string& a : args)
        if (!a.starts_with("--") && CliIsFilterFile(a))
            return RunFilterOptimize(context, args);
    for (const std::string& a : args) {
        if (a == "--table")
            return RunOptimizeTable(context, args);
        if (a == "--quick")
            return RunOptimizeQuick(context, args);
    }
    TFitOptions o;
    bool fitGiven = false, stepsGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        long long n = 0;
        if (a == "--fit")
            fitGiven = true;
        else if (a == "--lower" && hasValue)
            o.lower = args[++i];
        else if (a == "--upper" && hasValue)
            o.upper = args[++i];
        else if (a == "--q")
            o.q = true;
        else if (a == "--front-q")
            o.frontQ = true;
        else if (a == "--fine")
            o.fine = true;
        else if (a == "--until-stable")
            o.untilStable = true;
        else if (a == "--steps" && hasValue) {
            if (!ParseWhole(args[++i], 1, kMaxSteps, n))
                return CliFail("optimize: --steps takes a whole number from 1 to " + std::to_string(kMaxSteps));
            o.steps = static_cast<int>(n);
            stepsGiven = true;
        } else if (a == "--seed" && hasValue) {
            if (!ParseWhole(args[++i], 0, 4294967295LL, n))
                return CliFail("optimize: --seed takes a whole number from 0 to 4294967295");
            o.seed = static_cast<std::uint32_t>(n);
        } else if (o.project.empty() && !a.starts_with("--"))
            o.project = a;
        else
            return CliFail("optimize: unexpected argument \"" + a + "\"\n  tonvek-cli " + kUsage);
    }
    if (o.project.empty() || !fitGiven)
        return CliFail(std::string("optimize: tonvek-cli ") + kUsage);
    if (stepsGiven && o.untilStable)
        return CliFail("optimize: --steps and --until-stable exclude each other");
    return RunFit(context, o);
}

TCliRegistration optimizeCommand{
    "optimize",
    std::string(kUsage) + "\n                       fits the box to the target curve of its type, prints one line per\n"
                          "                       step (step, mean error in dB, the varied values) and saves the\n"
                          "                       project; --steps defaults to 200, --until-stable stops when the\n"
                          "                       error has not fallen by more than 0.001 dB in 20 steps.\n"
                          "optimize PROJECT.box --table [NAME] [--box-q 3|7|15] [--ripple 0|0.35|1.25]\n"
                          "                       applies a row of the box type's table: NAME is a choice of its\n"
                          "                       table dialog without \"&\", or a unique leading part (\"0.707\",\n"
                          "                       \"SBB4 / BB4\", \"+2dB\"); abr, bp3 and bp4 choose by the driver alone\n"
                          "optimize PROJECT.box --quick\n"
                          "                       runs the box dialog's \"Quick box\"; both save the project\n"
                          "optimize PROJECT.flt --net N [--steps N | --until-stable] [--seed S]\n"
                          "                       runs the optimiser of advanced net N with the targets and ticks\n"
                          "                       set before (\"Net 1, optimize:Lowpass:Fc=2500\",\n"
                          "                       \"Net 1:L1071 optimise=on\"), prints one line per sweep (sweep,\n"
                          "                       error, target level, each listed component), closes it and saves\n"
                          "                       the project; --steps defaults to 100, --until-stable as for --fit",
    RunOptimize};

} // namespace
