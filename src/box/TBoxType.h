#pragma once
// What makes a box type a type: its code in project files, its names, its menu and
// picture, the commands it does not offer, the element groups it shows the room model,
// and its maker. The shell, the command line and the room report reach box types only
// through these descriptions (TBoxTypes lists them).

#include "room/TRoomSource.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TBoxEmbryo;
class THost;
class TProgramContext;

struct TBoxType {
    int typeCode = 0;        // first four bytes of the project file
    std::string title;       // "Closed box": main window title and printed heading
    std::string cliName;     // "closed": tonvek-cli new <name>
    int menu = 4;            // menu bar: 4 box project, 15 with front and rear driver
    int picture = 0;         // information window picture
    bool frontAndRear = false; // two driver units (driver dialogs say which)
    std::vector<int> unsupportedCommands;
    // The room groups in report and list order; the room model combines the first less
    // the second, or, where the sum goes the other way round, roomGroups' first less its
    // second (bandpass type 3 lists its front port first but vents its rear port ahead).
    std::vector<TRoomSource> roomSources;
    std::vector<TRoomSource> roomGroups = {};
    // The cones reach the room as the box's total pressure (closed box), not as their own.
    bool roomConesAreTotal = false;
    std::function<std::unique_ptr<TBoxEmbryo>(THost&, TProgramContext&)> make;
};

// The maker of a box type: `.make = MakeBox<TClosedBox>`.
template <class TBox>
std::unique_ptr<TBoxEmbryo> MakeBox(THost& host, TProgramContext& context)
{
    return std::make_unique<TBox>(host, context);
}

namespace TBoxTypes {

// Every box type built, in type code order.
std::span<const TBoxType* const> All();
const TBoxType* ByCode(int typeCode);
const TBoxType* ByCliName(std::string_view name);

} // namespace TBoxTypes
