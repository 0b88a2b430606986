// The snapshot file (".snp"), read as the project readers and the dialog's "&Open..."
// read it: from a path. A file that is taken paints at several sizes and writes back to
// the same bytes; a refused one leaves the window as it was.

#include "FuzzSupport.h"

#include "core/TBinaryStream.h"
#include "plot/TPlotStyles.h"
#include "plot/TSnapshot.h"
#include "ui/THeadlessHost.h"
#include "ui/TRecordingCanvas.h"

namespace {

std::vector<std::uint8_t> Written(const TSnapshot& w)
{
    TBinaryWriter out;
    w.WriteFile(out, 410);
    return out.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    THeadlessHost host;
    const TPlotStyles styles;
    TSnapshot window(host, styles, nullptr, {[] { return 20; }, [] { return 20000; }});
    const std::vector<std::uint8_t> before = Written(window);
    const fuzz::TTempFile file(data, size, "input.snp");
    if (!window.LoadFile(file.Path())) {
        fuzz::Check(Written(window) == before, "a refused file changes nothing");
        return 0;
    }
    fuzz::Check(size >= TSnapshot::kFileBytes, "only a whole file is taken");
    for (auto [w, h] : {std::pair{600, 380}, std::pair{1, 1}, std::pair{4000, 3000}}) {
        TRecordingCanvas canvas(w, h);
        window.Paint(canvas);
    }
    const std::vector<std::uint8_t> out = Written(window);
    fuzz::Check(out.size() == TSnapshot::kFileBytes, "a snapshot file is 40585 bytes");
    TSnapshot back(host, styles, nullptr, {});
    TBinaryReader again(out);
    fuzz::Check(back.ReadFile(again), "a written snapshot file reads back");
    fuzz::Check(Written(back) == out, "a snapshot file reads back unchanged");
    return 0;
}
