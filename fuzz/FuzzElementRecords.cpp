// The enclosure elements' file records: the air volume (28 bytes), the port (53 bytes,
// 45 before version 400) and the passive radiator (85 bytes), each read from the start
// of the input and all three in a row as a box type body holds them. A record that is
// taken writes back to itself, and still does after the element has recomputed its
// tuning and impedances from it, as a project does before it is saved again.

#include "FuzzSupport.h"

#include "box/elements/TAbrObject.h"
#include "box/elements/TBoxObject.h"
#include "box/elements/TPortObject.h"
#include "core/TBinaryStream.h"
#include "settings/TFreqGrid.h"

namespace {

const TElementGrid& Grid()
{
    static const TFreqGrid grid = [] {
        TFreqGrid g;
        (void)g.Layout(1, 20000, 500);
        return g;
    }();
    static const TElementGrid elementGrid = TElementGrid::Of(grid);
    return elementGrid;
}

template <class Element, class... Version>
void RoundTrip(const Element& element, Element& back, Version... version)
{
    TBinaryWriter out;
    element.WriteRecord(out);
    fuzz::Check(out.Size() == Element::kRecordSize, "record size");
    TBinaryReader in(out.Bytes());
    fuzz::Check(back.ReadRecord(in, version...), "a written record reads back");
    TBinaryWriter again;
    back.WriteRecord(again);
    fuzz::Check(again.Bytes() == out.Bytes(), "a record reads back unchanged");
}

bool Box(TBinaryReader& in, TBoxObject& box)
{
    if (!box.ReadRecord(in))
        return false;
    TBoxObject back("Box", true);
    RoundTrip(box, back);
    box.UpdateImpedance(Grid());
    std::vector<std::string> lines;
    box.Report(lines);
    TBoxObject calculated("Box", true);
    RoundTrip(box, calculated);
    return true;
}

bool Port(TBinaryReader& in, int version)
{
    TPortObject port("Port");
    if (!port.ReadRecord(in, version))
        return false;
    TPortObject back("Port");
    RoundTrip(port, back, TPortObject::kFlareVersion);
    port.UpdateTuning();
    port.UpdateImpedance(Grid());
    (void)port.SpeedLimit();
    (void)port.MaxDiameter();
    std::vector<std::string> lines;
    port.Report(lines);
    TPortObject calculated("Port");
    RoundTrip(port, calculated, TPortObject::kFlareVersion);
    return true;
}

bool Radiator(TBinaryReader& in, const TBoxObject& box)
{
    TAbrObject radiator(box);
    if (!radiator.ReadRecord(in))
        return false;
    TAbrObject back(box);
    RoundTrip(radiator, back);
    radiator.UpdateFreeAirResonance();
    radiator.UpdateBoxResonance();
    radiator.UpdateImpedances(Grid());
    radiator.LimitExcursion(Grid().Points());
    std::vector<std::string> lines;
    radiator.Report(lines);
    TAbrObject calculated(box);
    RoundTrip(radiator, calculated);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::uint8_t> bytes(data, data + size);
    TBoxObject box("Box", true);
    {
        TBinaryReader in(bytes);
        (void)Box(in, box);
    }
    for (int version : {399, 410}) {
        TBinaryReader in(bytes);
        (void)Port(in, version);
    }
    {
        TBinaryReader in(bytes);
        (void)Radiator(in, box);
    }
    TBinaryReader in(bytes);
    TBoxObject body("Box", true);
    if (Box(in, body) && Port(in, 410))
        (void)Radiator(in, body);
    return 0;
}
