// The record of a simple network in a filter project, read as a current (version 410)
// and as an old (309) record. A record that is taken writes back to itself (the
// measured-file names aside, which the program folder rule may shorten on every read),
// and the network it describes solves to finite numbers unless a measured file was read
// into it.

#include "FuzzSupport.h"

#include "filter/TDetachedNetOwner.h"
#include "filter/TNet.h"

#include <algorithm>
#include <cmath>

namespace {

// Two off-axis rays, so that the rays' path runs too.
struct TProject : TDetachedNetOwner {
    TProject() : TDetachedNetOwner(fuzz::PrivateDir() + "/") { AddRays({30, -60}); }
};

std::vector<std::uint8_t> RecordOf(const TNet& net)
{
    TBinaryWriter out;
    net.WriteRecord(out);
    return out.Bytes();
}

template <class Row>
bool Finite(const Row& row)
{
    for (const auto& v : row)
        if (!std::isfinite(std::abs(v)))
            return false;
    return true;
}

void Record(const std::vector<std::uint8_t>& bytes, int version, int index)
{
    TProject project;
    TNet net(project, index);
    const auto before = RecordOf(net);
    TBinaryReader in(bytes);
    if (!net.ReadRecord(in, version)) {
        fuzz::Check(RecordOf(net) == before, "a refused record changes nothing");
        return;
    }
    const auto written = RecordOf(net);
    fuzz::Check(written.size() == TNet::RecordSize(410), "record size");
    TNet back(project, index);
    TBinaryReader again(written);
    fuzz::Check(back.ReadRecord(again, 410), "a written record reads back");
    auto rewritten = RecordOf(back);
    const auto names = static_cast<long>(TNet::kNamesOffset);
    const auto namesEnd = names + static_cast<long>(4 * TNet::kFileNameField);
    fuzz::Check(std::equal(written.begin(), written.begin() + names, rewritten.begin()) &&
                    std::equal(written.begin() + namesEnd, written.end(), rewritten.begin() + namesEnd),
                "a record reads back unchanged");

    net.Calculate();
    bool measured = false;
    for (int d = 0; d < 2; ++d)
        measured = measured || net.Driver(d).spl.Loaded() || net.Driver(d).impedance.Loaded();
    if (!measured) {
        fuzz::Check(Finite(net.InputImpedance()) && Finite(net.FilterGain()) && Finite(net.GroupDelay()),
                    "an ideal driver solves to finite numbers");
        for (int r = 0; r < 3; ++r)
            fuzz::Check(Finite(net.Output(r)) && Finite(net.Level(r)), "finite rays");
    }
    // The calculators on whatever the record held.
    net.CalcLowPass();
    net.CalcHighPass();
    net.CalcAttenuator();
    net.CalcZobel();
    net.Calculate();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    Record(bytes, 410, static_cast<int>(size % 3));
    Record(bytes, 309, 0);
    return 0;
}
