// The room and cabinet model: room transfer spectra, listening spectrum, combination.

#include "room/TRoomCabinet.h"

#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "ui/THost.h"

#include <algorithm>

TRoomCabinet::TRoomCabinet(THost& host, const TPlotStyles& styles, TCursorDialog* cursor, TRoomSettings& settings,
                           const TMeasSetup& setup, const TProgramFolder& folder, std::span<const TRoomSource> sources)
    : TPlotLogXLinY(host, kCaption, styles, cursor, 116, 290, 10, kBins),
      settings_(settings),
      setup_(setup),
      folder_(folder),
      host_(host),
      sources_(sources),
      levelStyle_{TColors::Black, 3, TDash::Solid},
      freeAirStyle_{TColors::Blue, 1, TDash::DashDot},
      phaseStyle_{TColors::Black, 1, TDash::Dot}
{
}

TRoomCabinet::~TRoomCabinet()
{
    if (closeDialog)
        closeDialog();
}

void TRoomCabinet::ResetRoom()
{
    settings_.Reset();
    recompute_ = true;
}

void TRoomCabinet::CalculateRoom() { recompute_ = false; }

void TRoomCabinet::SetShowMode(int mode) { settings_.showMode = mode; }

bool TRoomCabinet::ReadRoom(TBinaryReader& in, bool preferences, int version)
{
    return preferences ? settings_.ReadPreferences(in) : settings_.ReadProject(in, version);
}

void TRoomCabinet::WriteRoom(TBinaryWriter& out, bool preferences) const
{
    if (preferences)
        settings_.WritePreferences(out);
    else
        settings_.WriteProject(out);
}

bool TRoomCabinet::WriteRoom(const std::string& path) const
{
    TBinaryWriter out;
    WriteRoom(out, true);
    return out.SaveTo(path);
}

void TRoomCabinet::LoadPreferences(const std::string& path) { settings_.LoadPreferences(path); }

bool TRoomCabinet::ReadMeasuredFile(const std::string&) { return false; }

std::vector<std::string> TRoomCabinet::ReportRoom() const { return settings_.ReportLines(sources_, Counts()); }

TRoomCounts TRoomCabinet::Counts() const { return {}; }

TPosObject& TRoomCabinet::Position(const TRoomSource& source, int k)
{
    return settings_.positions[static_cast<std::size_t>(source.group * 9 + std::clamp(k, 0, 8))];
}

void TRoomCabinet::ShowRoomDialog()
{
    if (openDialog)
        openDialog(*this);
}

const TComplex* TRoomCabinet::StoredSpectrum(int group) const { return spectra_[group == 0 ? 0 : 1].data(); }

double TRoomCabinet::ListeningDistance() const { return 1.0; }
