#pragma once
// Command ids of the main window's menus. Ids below 14000 are the program's historic
// ids, kept because stored dialog and window records refer to them; the shell's own
// file and window commands use 14000 and up.

namespace TCmd {
// Project creation: NewProjectBase + project type code.
inline constexpr int NewProjectBase = 14000;
inline constexpr int Open = 14100;
inline constexpr int NewInstance = 14101;
inline constexpr int Exit = 14102;
inline constexpr int About = 14103;
inline constexpr int Cascade = 14104;
inline constexpr int Tile = 14105;
inline constexpr int ArrangeIcons = 14106;

// Box project commands.
inline constexpr int Calculate = 12200;
inline constexpr int BoxDialog = 12201;
inline constexpr int MeasSetup = 12202;
inline constexpr int DriverConfig = 12203;
inline constexpr int DriverLoad = 12204;
inline constexpr int UnitEditor = 12205;
inline constexpr int RearDriverConfig = 12206;
inline constexpr int RearDriverLoad = 12207;
inline constexpr int RearUnitEditor = 12208;
inline constexpr int ReflexBandpassDialog = 12209;

inline constexpr int SaveAs = 10108;
inline constexpr int Save = 10109;
inline constexpr int CopyWindow = 10104;
inline constexpr int PrintWindow = 10106;
inline constexpr int UserNote = 10114;
inline constexpr int DefaultSize = 10117;
inline constexpr int TransientResp = 10204;
inline constexpr int RoomCabinet = 10205;
inline constexpr int Snapshot = 10206;
inline constexpr int PrefsSave = 10501;
inline constexpr int PrefsDefault = 10502;
inline constexpr int YankeeTool = 11852;
inline constexpr int GeneralSettings = 13100;
inline constexpr int ExportGroupDelay = 11870; // export kind 5
inline constexpr int ExportImpedance = 11871;  // export kind 4
inline constexpr int ExportRoomSpl = 11872;    // export kind 1
inline constexpr int ExportSpl = 11873;        // export kind 0
inline constexpr int ExportModesSpl = 11874;   // export kind 2
inline constexpr int ExportTransient = 11875;  // export kind 3
inline constexpr int ShowDiagrams = 11863;
inline constexpr int PrintDiagrams = 11864;
} // namespace TCmd
