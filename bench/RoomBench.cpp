// The room and cabinet model of a bass reflex box (two groups: cones and port) over
// 500 grid points: one recalculation that rebuilds the room spectra with every
// reflection and the cabinet edges on, and one that reuses them, as every change of
// the box does. Each run also counts the heap allocations of one more recalculation.

#include "CalculatedBox.h"
#include "box/TBassReflexBox.h"
#include "box/elements/TPortObject.h"
#include "room/TRoomCabinet.h"

#include <benchmark/benchmark.h>

namespace {

struct TRoomedReflexBox : TCalculatedBox<TBassReflexBox> {
    TRoomedReflexBox()
        : TCalculatedBox(0.02, [](TBassReflexBox& box) {
              TPortObject& port = box.Port();
              port.V = box.BoxVolume().TuningVolume();
              (void)port.SetLengthFromTuning(45.0);
              TRoomSettings& room = box.RoomModel().Settings();
              room.reflections = {true, true, true, true, true, true};
              room.cabinetEdges = true;
          })
    {
    }
    TRoomCabinet& Room() { return box->RoomModel(); }
};

void Count(benchmark::State& state, TRoomCabinet& room, bool rebuild)
{
    state.counters["allocs/calc"] = static_cast<double>(allocation_counter::During([&] {
        if (rebuild)
            room.MarkRecompute();
        room.CalculateRoom();
    }));
}

void BM_RoomRebuildSpectra(benchmark::State& state)
{
    TRoomedReflexBox f;
    for (auto _ : state) {
        f.Room().MarkRecompute();
        f.Room().CalculateRoom();
        benchmark::DoNotOptimize(f.Room().Level()[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    Count(state, f.Room(), true);
}

void BM_RoomReuseSpectra(benchmark::State& state)
{
    TRoomedReflexBox f;
    for (auto _ : state) {
        f.Room().CalculateRoom();
        benchmark::DoNotOptimize(f.Room().Level()[499]);
    }
    state.SetItemsProcessed(state.iterations() * 500);
    Count(state, f.Room(), false);
}

} // namespace

BENCHMARK(BM_RoomRebuildSpectra)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoomReuseSpectra)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
