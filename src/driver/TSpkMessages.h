#pragma once
// The messages about unit files, word for word, and the places that show them.

#include <string>

class THost;

namespace TSpkMessages {
inline constexpr const char* kEditorLoadFailed = "Could not open file.\nCheck path and filename.";
inline constexpr const char* kEditorLoadTitle = "File load";
inline constexpr const char* kSaveFailed = "Could not open file.\nCheck if device is ready\nor if the disk is full.";
inline constexpr const char* kSaveTitle = "File save";
inline constexpr const char* kSaveAsTitle = "File save as";
inline constexpr const char* kProjectLoadFailed = "Could not open file.\nCheck if device is ready.";
inline constexpr const char* kProjectLoadTitle = "Speaker unit load";
inline constexpr const char* kTooFewParameters = "Too few speaker parameters are defined";
inline constexpr const char* kFileChanged = "File has been changed.\r\nSave file ?";
inline constexpr const char* kFileChangedExit = "File has been changed.\r\nSave before exit ?";
inline constexpr const char* kEditorTitle = "Speaker unit editor";

// "Could not open file : <path>\nCheck if path and filename is correct." (a project
// file naming a unit file that cannot be read).
std::string ProjectUnitMissing(const std::string& path);
} // namespace TSpkMessages

class TSpkData;

// The unit editor's open: on failure the message, and the record is cleared.
[[nodiscard]] bool LoadUnitInEditor(TSpkData& unit, const std::string& path, THost& host);
// The unit editor's save and save as: the message on failure, the record unchanged.
[[nodiscard]] bool SaveUnitFromEditor(TSpkData& unit, const std::string& path, bool saveAs, THost& host);
