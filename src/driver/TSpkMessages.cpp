#include "TSpkMessages.h"

#include "TSpkData.h"
#include "ui/THost.h"

namespace TSpkMessages {
std::string ProjectUnitMissing(const std::string& path)
{
    return "Could not open file : " + path + "\nCheck if path and filename is correct.";
}
} // namespace TSpkMessages

bool LoadUnitInEditor(TSpkData& unit, const std::string& path, THost& host)
{
    if (unit.Load(path))
        return true;
    unit.Clear();
    host.Message(TSpkMessages::kEditorLoadFailed, TSpkMessages::kEditorLoadTitle, TMsgButtons::Ok,
                 TMsgIcon::Warning);
    return false;
}

bool SaveUnitFromEditor(TSpkData& unit, const std::string& path, bool saveAs, THost& host)
{
    if (unit.Save(path))
        return true;
    host.Message(TSpkMessages::kSaveFailed, saveAs ? TSpkMessages::kSaveAsTitle : TSpkMessages::kSaveTitle,
                 TMsgButtons::Ok, TMsgIcon::Warning);
    return false;
}
