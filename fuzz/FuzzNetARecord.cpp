// The record of an advanced network in a filter project, read as a current (version
// 410) record by a passive and an active network and as an old (400) record by an
// active one. A record that is taken writes back to itself (the measured-file names
// aside, which the program folder rule may shorten on every read), and the network it
// describes solves to finite numbers unless a measured file was read into it.

#include "FuzzSupport.h"

#include "filter/TDetachedNetOwner.h"
#include "filter/TNetA.h"

#include <algorithm>
#include <cmath>

namespace {

// Two off-axis rays, so that the rays' path runs too.
struct TProject : TDetachedNetOwner {
    TProject() : TDetachedNetOwner(fuzz::PrivateDir() + "/") { AddRays({30, -60}); }
};

// Where the eight measured-file names lie in a current record, and their length.
constexpr long kNamesOffset = 3 * 8 + 4 * 32 + 8 + 2 * 32 + 2 + 1 + 1 + 8 + 4 + 4 + 4 + 4 + 30 + 8 + 44;
constexpr long kNamesSize = 8 * static_cast<long>(TDriverSet::kFileNameField);

std::vector<std::uint8_t> RecordOf(const TNetA& net)
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

void Record(const std::vector<std::uint8_t>& bytes, int version, bool active)
{
    TProject project;
    TNetA net(project, static_cast<int>(bytes.size() % 4), active);
    const auto before = RecordOf(net);
    TBinaryReader in(bytes);
    if (!net.ReadRecord(in, version)) {
        fuzz::Check(RecordOf(net) == before, "a refused record changes nothing");
        return;
    }
    const auto written = RecordOf(net);
    TNetA back(project, net.Index(), net.Active());
    TBinaryReader again(written);
    fuzz::Check(back.ReadRecord(again, 410) && again.AtEnd(), "a written record reads back");
    const auto rewritten = RecordOf(back);
    fuzz::Check(rewritten.size() == written.size() &&
                    std::equal(written.begin(), written.begin() + kNamesOffset, rewritten.begin()) &&
                    std::equal(written.begin() + kNamesOffset + kNamesSize, written.end(),
                               rewritten.begin() + kNamesOffset + kNamesSize),
                "a record reads back unchanged");

    net.Calculate();
    bool measured = false;
    for (int d = 0; d < TNetA::kDrivers; ++d)
        measured = measured || net.Drivers().Driver(d).spl.Loaded() || net.Drivers().Driver(d).impedance.Loaded();
    if (!measured) {
        fuzz::Check(Finite(net.InputImpedance()) && Finite(net.Transfer()) && Finite(net.GroupDelay()),
                    "ideal drivers solve to finite numbers");
        for (int r = 0; r < 3; ++r)
            fuzz::Check(Finite(net.Output(r)) && Finite(net.Level(r)), "finite rays");
    }
    // The store slots the record held, recalled and solved.
    for (int s = 0; s < TNetA::kSlots; ++s) {
        net.RecallNetSet(s);
        (void)net.RecallDriverSet(s);
    }
    net.Calculate();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    Record(bytes, 410, (size & 1) != 0);
    Record(bytes, 400, true);
    return 0;
}
