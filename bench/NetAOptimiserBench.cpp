// The network optimiser's sweeps on the two-way advanced passive example (a 10 inch
// woofer and a 1 inch tweeter, measured), with six components of the woofer's network
// on the optimisation list: one idle step as the dialog runs it (the sweep, two network
// calculations per component, the plot's target and error, the list refilled), without
// live update and with it (every sweep also recalculates the whole project).
#include "filter/TBranchA.h"
#include "filter/TNetA.h"
#include "filter/TNetADialog.h"
#include "filter/TNetADialogs.h"
#include "filter/TNetAOptDialog.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "ui/THeadlessHost.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct TBenchOptimiser {
    TBenchOptimiser()
    {
        project = std::make_unique<TXover>(host, context, 4); // two-way advanced
        ok = project->Load(TONVEK_SOURCE_DIR "/examples/advanced2-10in-1in.flt");
        TNetA& net = project->NetA(0);
        // Six components in use, taken from the amplifier on (the shunt positions after).
        for (int p = 0; p < TNetA::kPositions && ticked < 6; ++p)
            if (TBranchA* b = net.Branch(p))
                for (int c = 0; c < kCompSlots && ticked < 6; ++c)
                    if (TCompA& comp = b->Comp(static_cast<TCompSlot>(c)); comp.inUse) {
                        comp.inOptimisation = true;
                        ++ticked;
                    }
        TNetADialog& netDialog = project->NetADialogs(0).NetDialog();
        netDialog.Open();
        netDialog.Press(TNetADialog::kOptimize);
        dialog = netDialog.OptimiserDialog();
        ok = ok && dialog && ticked == 6;
    }
    TProgramContext context{TONVEK_SOURCE_DIR "/"};
    THeadlessHost host;
    std::unique_ptr<TXover> project;
    TNetAOptDialog* dialog = nullptr;
    int ticked = 0;
    bool ok = false;
};

// arg: 0 without live update, 1 with it.
void BM_NetAOptimiserSweep(benchmark::State& state)
{
    TBenchOptimiser b;
    if (!b.ok) {
        state.SkipWithError("the example did not open with six components to tick");
        return;
    }
    b.dialog->Toggle(TNetAOptDialog::kLiveUpdate, state.range(0) != 0);
    b.dialog->Press(TNetAOptDialog::kStart);
    for (auto _ : state)
        benchmark::DoNotOptimize(b.host.RunDeferred(1));
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(0) ? "sweeps, live update" : "sweeps");
}
BENCHMARK(BM_NetAOptimiserSweep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
