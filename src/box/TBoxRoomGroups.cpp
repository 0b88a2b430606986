// What each box type hands the room model besides its cones: its ports and radiators,
// with their counts, radii and radiated pressures.

#include "TAbrBox.h"
#include "TBandpassBox.h"
#include "TBassReflexBox.h"
#include "TBassReflexDorvelBox.h"
#include "TDoubleTunedBox.h"
#include "box/elements/TAbrObject.h"
#include "box/elements/TPortObject.h"
#include "room/TRoomCabinet.h"

#include <cmath>

namespace {
void PortGroup(const TPortObject& port, TRoomGroupInput& group)
{
    group.n = port.n;
    group.radius = port.D / 2;
    group.p = port.pressure.data();
}
} // namespace

void TBassReflexBox::RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const
{
    if (source.count == TRoomSource::PortsB)
        PortGroup(port_, group);
    else
        TBoxEmbryo::RoomGroup(source, group);
}

void TBassReflexDorvelBox::RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const
{
    if (source.count == TRoomSource::PortsB)
        PortGroup(port_, group);
    else
        TBoxEmbryo::RoomGroup(source, group);
}

void TDoubleTunedBox::RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const
{
    if (source.count == TRoomSource::PortsB)
        PortGroup(FrontPort(), group);
    else
        TBoxEmbryo::RoomGroup(source, group);
}

void TAbrBox::RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const
{
    if (source.count != TRoomSource::Radiators) {
        TBoxEmbryo::RoomGroup(source, group);
        return;
    }
    const TAbrObject& abr = *radiator_;
    group.n = abr.n;
    group.radius = abr.a > 0 ? abr.a : std::sqrt(abr.Sd / 3.14159265358979);
    group.p = abr.pressure.data();
}

void TBandpassBox::RoomGroup(const TRoomSource& source, TRoomGroupInput& group) const
{
    // One port: it is the room's. Two coupled ports (type 2): the second vents to the
    // room. Two separate ports (types 3 and 4): the first is group A, the second B.
    const bool two = PortCount() == 2;
    if (source.count == TRoomSource::PortsB)
        PortGroup(Port(two ? 1 : 0), group);
    else if (source.count == TRoomSource::PortsA && two && !Layout().coupledTuning)
        PortGroup(Port(0), group);
    else
        TBoxEmbryo::RoomGroup(source, group);
}
