// The ".unt" unit file: little-endian, unpadded, 380 bytes plus the note length N.
//   0 int16 version 100 | 2 4 x int32 reserved | 18 char[100] manufacturer | 118 char[100] model
//   218 int16 speaker type | 220 19 x double parameters in TSpkParam order | 372 int16 crosscalc
//   374 int16 N | 376 char[N] note with its NUL | 376+N int16 double voice coil | 378+N int16 12345
#include "TSpkData.h"

#include "core/TBinaryStream.h"

#include <cmath>
#include <cstring>

namespace {
// A fixed text field as it is in memory, but never without its terminator.
void WriteField(TBinaryWriter& out, const char* field, std::size_t size)
{
    out.WriteBytes(field, size - 1);
    out.WriteUInt8(0);
}
} // namespace

std::vector<std::uint8_t> TSpkData::FileBytes() const
{
    TBinaryWriter out;
    Write(out);
    return out.Bytes();
}

void TSpkData::Write(TBinaryWriter& out) const
{
    out.WriteInt16(kFileVersion);
    out.WriteZeros(4 * sizeof(std::int32_t));
    WriteField(out, manufacturer, sizeof manufacturer);
    WriteField(out, model, sizeof model);
    out.WriteInt16(speakerType);
    for (int i = 0; i < kSpkParamCount; ++i)
        out.WriteDouble(Param(static_cast<TSpkParam>(i)));
    out.WriteInt16(crossCalc);
    // The note field may hold a text that fills it (a foreign file); its last byte is
    // always written as the terminator.
    std::size_t noteLength = strnlen(userNote, sizeof userNote - 1);
    out.WriteInt16(static_cast<std::int16_t>(noteLength + 1));
    out.WriteText(std::string_view(userNote, noteLength), noteLength + 1);
    out.WriteInt16(doubleVoiceCoil);
    out.WriteInt16(kEndMark);
}

bool TSpkData::Save(const std::string& path)
{
    TBinaryWriter out;
    Write(out);
    if (!out.SaveTo(path))
        return false;
    SetFileNameFromPath(path);
    return true;
}

bool TSpkData::Load(const std::string& path)
{
    TBinaryReader in;
    if (!in.Open(path, kMaxFileBytes)) {
        lastLoadError_ = TSpkLoadError::CannotOpen;
        return false;
    }
    SetFileNameFromPath(path);
    return Read(in);
}

bool TSpkData::ReadFileBytes(std::vector<std::uint8_t> bytes)
{
    TBinaryReader in(std::move(bytes));
    return Read(in);
}

bool TSpkData::Read(TBinaryReader& in)
{
    auto fail = [this](TSpkLoadError error) {
        lastLoadError_ = error;
        return false;
    };
    std::int16_t version = 0;
    if (!in.ReadInt16(version))
        return fail(TSpkLoadError::Truncated);
    if (version != kFileVersion)
        return fail(TSpkLoadError::WrongVersion);
    if (!in.Skip(4 * sizeof(std::int32_t)))
        return fail(TSpkLoadError::Truncated);
    // The reader terminates the texts whatever the file holds, also on a short read.
    if (!in.ReadText(manufacturer, sizeof manufacturer, sizeof manufacturer)
        || !in.ReadText(model, sizeof model, sizeof model) || !in.ReadInt16(speakerType))
        return fail(TSpkLoadError::Truncated);
    for (int i = 0; i < kSpkParamCount; ++i) {
        if (!in.ReadDouble(Param(static_cast<TSpkParam>(i))))
            return fail(TSpkLoadError::Truncated);
    }
    std::int16_t noteLength = 0;
    if (!in.ReadInt16(crossCalc) || !in.ReadInt16(noteLength))
        return fail(TSpkLoadError::Truncated);
    if (noteLength < 0 || static_cast<std::size_t>(noteLength) > sizeof userNote)
        return fail(TSpkLoadError::BadNoteLength);
    if (!in.ReadText(userNote, sizeof userNote, static_cast<std::size_t>(noteLength)))
        return fail(TSpkLoadError::Truncated);
    std::int16_t endMark = 0;
    if (!in.ReadInt16(doubleVoiceCoil) || !in.ReadInt16(endMark))
        return fail(TSpkLoadError::Truncated);
    if (endMark != kEndMark)
        return fail(TSpkLoadError::WrongEndMark);
    // No editor can enter NaN or infinity; a file holding one is damaged, and such a
    // value would spread through every derivation and simulation, so it is not kept.
    bool finite = true;
    for (int i = 0; i < kSpkParamCount; ++i) {
        double& v = Param(static_cast<TSpkParam>(i));
        if (!std::isfinite(v)) {
            v = 0.0;
            finite = false;
        }
    }
    if (!finite)
        return fail(TSpkLoadError::BadValue);
    UpdateSquares();
    lastLoadError_ = TSpkLoadError::None;
    return true;
}
