#include "CliBoxSession.h"

#include "TCliCommand.h"

#include "box/TBoxType.h"
#include "core/TBinaryStream.h"
#include "room/TRoomCabinet.h"
#include "room/TRoomCabinetDialog.h"
#include "ui/TDialogModel.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

bool HasExtension(const std::string& name, const char* extension)
{
    std::string ext = std::filesystem::path(name).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == extension;
}

} // namespace

std::string FromWorkingFolder(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

bool OpenProject(TBoxSession& s, const std::string& name)
{
    const std::string path = FromWorkingFolder(name);
    TBinaryReader reader;
    if (!reader.Open(path)) {
        CliFail("cannot open project " + path);
        return false;
    }
    std::int32_t code = -1;
    const TBoxType* type = nullptr;
    if (!reader.ReadInt32(code) || !(type = TBoxTypes::ByCode(code))) {
        if (HasExtension(name, ".unt"))
            CliFail(name + " is a unit file, not a box project: see tonvek-cli unit show " + name +
                    " (units are written with tonvek-cli unit new --set NAME=VALUE)");
        else
            CliFail(path + " is not a box project this version can open (type code " + std::to_string(code) + ")");
        return false;
    }
    s.project = type->make(s.host, s.context);
    if (!s.project->Load(path)) {
        CliFail("Error while reading box data. The project file is corrupt: " + path);
        return false;
    }
    return true;
}

std::vector<TDialogModel*> OpenDialogs(TBoxSession& s)
{
    s.project->OpenBoxDialog();
    s.project->OpenSetupDialog();
    s.project->OpenDriverConfig();
    // The room dialog with its absorption coefficients, so that they are named too.
    s.project->RoomModel().ShowRoomDialog();
    if (TRoomCabinetDialog* room = s.project->RoomDialog().OpenDialog())
        room->OpenAbsorption();
    s.project->OpenTransientDialog();
    return s.project->ParameterDialogs();
}

bool SaveProject(TBoxSession& s, const std::string& path)
{
    if (!s.project->SaveTo(FromWorkingFolder(path))) {
        CliFail("could not write " + path);
        return false;
    }
    std::printf("saved %s\n", path.c_str());
    return true;
}

std::string WarningsSince(const TBoxSession& s, std::size_t from)
{
    std::string text;
    for (std::size_t m = from; m < s.host.Messages().size(); ++m)
        if (s.host.Messages()[m].icon == TMsgIcon::Warning)
            text += (text.empty() ? "" : "; ") + s.host.Messages()[m].text;
    return text;
}
