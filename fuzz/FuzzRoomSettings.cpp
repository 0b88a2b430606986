// The room and cabinet settings: "roomcabi.prf" read as a new box project reads it, and
// the same bytes as the room record of a project file (current and pre-310 form). What
// was taken prints its report and writes back to itself.

#include "FuzzSupport.h"

#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "room/TRoomSettings.h"
#include "room/TRoomSource.h"

namespace {

void Report(const TRoomSettings& room)
{
    // Every element group a box type can show, each with more elements than it holds.
    const TRoomSource all[] = {TRoomSources::DriverUnits, TRoomSources::Port,     TRoomSources::Abr,
                               TRoomSources::FrontPort,   TRoomSources::RearPort, TRoomSources::SidePorts,
                               TRoomSources::MiddlePort};
    (void)room.ReportLines(all, TRoomCounts{12, 12, 12, 12});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        fuzz::TTempFile file(data, size, TRoomSettings::PreferencesFile);
        TRoomSettings room;
        room.LoadPreferences(TProgramFolder(fuzz::PrivateDir()).Resolve(TRoomSettings::PreferencesFile));
        Report(room);
        TBinaryWriter out;
        room.WritePreferences(out);
        fuzz::Check(out.Size() == TRoomSettings::PreferencesSize, "preferences size");
        TRoomSettings back;
        TBinaryReader in(out.Bytes());
        fuzz::Check(back.ReadPreferences(in), "written preferences read back");
        TBinaryWriter again;
        back.WritePreferences(again);
        fuzz::Check(again.Bytes() == out.Bytes(), "preferences read back unchanged");
    }
    for (int version : {309, 410}) {
        TRoomSettings room;
        TBinaryReader in(std::vector<std::uint8_t>(data, data + size));
        if (!room.ReadProject(in, version))
            continue;
        Report(room);
        TBinaryWriter out;
        room.WriteProject(out);
        fuzz::Check(out.Size() == TRoomSettings::ProjectSize, "project record size");
        TRoomSettings back;
        TBinaryReader again(out.Bytes());
        fuzz::Check(back.ReadProject(again, 410), "a written room record reads back");
    }
    return 0;
}
