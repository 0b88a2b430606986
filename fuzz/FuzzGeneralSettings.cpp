// The general settings block of filter project files. The first byte picks the file
// version the block is read as (each version reads a different length); the rest is
// the block. A block that is taken leaves usable tables and ray lists, survives the
// ray buttons and writes back to itself; a block that is refused changes nothing.

#include "FuzzSupport.h"

#include "core/TBinaryStream.h"
#include "settings/TGeneral.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr std::array<int, 6> kVersions = {300, 310, 399, 400, 409, 410};

std::vector<std::uint8_t> Block(const TGeneral& g)
{
    TBinaryWriter out;
    fuzz::Check(g.Write(out), "the block is written whole");
    fuzz::Check(out.Size() == TGeneral::kBlockSize, "block size");
    return out.Bytes();
}

void CheckUsable(const TGeneral& g)
{
    fuzz::Check(g.SurfaceRayCount() >= 1 && g.SurfaceRayCount() <= TGeneral::kMaxSurfaceRays, "surface ray count");
    fuzz::Check(g.OverlayRayCount() >= 1 && g.OverlayRayCount() <= TGeneral::kMaxOverlayRays, "overlay ray count");
    fuzz::Check(g.OnAxisIndex() >= 0 && g.OnAxisIndex() < g.SurfaceRayCount(), "on-axis index in the list");
    const int n = g.TransformSize();
    fuzz::Check(n >= TGeneral::kMinTransform && n <= TGeneral::kMaxTransform && (n & (n - 1)) == 0, "N");
    fuzz::Check((1 << g.Log2TransformSize()) == n, "log2 N");
    for (int i = 0; i < n; ++i) {
        const int r = g.BitReversal()[static_cast<std::size_t>(i)];
        fuzz::Check(r >= 0 && r < n, "bit reversal in range");
    }
    for (int i = 0; i < n / 2; ++i) {
        const auto k = static_cast<std::size_t>(i);
        fuzz::Check(std::isfinite(g.BinFrequencies()[k]) && std::isfinite(g.Twiddles()[k].real()), "tables finite");
    }
    fuzz::Check(std::isfinite(g.Distance()) && g.Distance() > 0.0, "distance");
    fuzz::Check(g.Title().size() <= TGeneral::kMaxTitle, "title length");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int version = kVersions[data[0] % kVersions.size()];
    TGeneral g;
    g.SetTitle("before");
    const auto before = Block(g);
    TBinaryReader in(std::vector<std::uint8_t>(data + 1, data + size));
    if (!g.Read(in, version)) {
        fuzz::Check(Block(g) == before, "a refused block changes nothing");
        return 0;
    }
    fuzz::Check(in.Position() == TGeneral::BlockSize(version), "the version's block length is read");
    CheckUsable(g);

    const auto written = Block(g);
    TGeneral back;
    TBinaryReader again(written);
    fuzz::Check(back.Read(again, TGeneral::kCurrentVersion), "a written block reads back");
    fuzz::Check(Block(back) == written, "a block reads back unchanged");

    // The ray buttons on whatever the file held.
    for (int angle : TGeneral::kOfferedAngles) {
        (void)g.AddSurfaceRay(angle);
        (void)g.AddOverlayRay(angle);
    }
    CheckUsable(g);
    for (int angle : TGeneral::kOfferedAngles)
        (void)g.RemoveSurfaceRay(angle);
    while (g.RemoveOverlayRay(g.OverlayRayCount() - 1) == TRayChange::Done) {
    }
    CheckUsable(g);
    return 0;
}
