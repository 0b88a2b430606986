#include "TRoomSettings.h"

#include "room/TRoomSource.h"

#include "core/TBinaryStream.h"
#include "ui/TNumberText.h"

#include <cstdio>

namespace {
// Reports show a "." whatever the locale the desktop set.
std::string Format(const char* format, double v) { return TNumberText::FormatDouble(format, v); }
std::string FormatInt(const char* format, int v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}
bool ReadBool(TBinaryReader& in, bool& value)
{
    std::uint8_t b = 0;
    bool ok = in.ReadUInt8(b);
    if (ok)
        value = b != 0;
    return ok;
}
} // namespace

void TRoomSettings::Reset() { *this = TRoomSettings{}; }

void TRoomSettings::ReadBody(TBinaryReader& in)
{
    for (TPosObject& p : positions) {
        double v[4];
        if (in.ReadDouble(v[0]) && in.ReadDouble(v[1]) && in.ReadDouble(v[2]) && in.ReadDouble(v[3]))
            p = TPosObject{v[0], v[1], v[2], v[3]};
    }
    for (double* d : {&X, &Y, &Z, &H, &W, &Xl, &Yl, &Zl, &Hr, &Dr, &Wr}) {
        double v;
        if (in.ReadDouble(v))
            *d = v;
    }
    for (std::size_t i = 0; i < 6; ++i) {
        bool b = reflections[i];
        if (ReadBool(in, b))
            reflections[i] = b;
    }
    bool b = cabinetEdges;
    if (ReadBool(in, b))
        cabinetEdges = b;
    std::int32_t mode = showMode;
    if (in.ReadInt32(mode))
        showMode = mode;
    b = normalize;
    if (ReadBool(in, b))
        normalize = b;
    b = smoothing;
    if (ReadBool(in, b))
        smoothing = b;
    b = calcImmediately;
    if (ReadBool(in, b))
        calcImmediately = b;
    for (double& r : reflectionFactors) {
        double v;
        if (in.ReadDouble(v))
            r = v;
    }
}

void TRoomSettings::WriteBody(TBinaryWriter& out) const
{
    for (const TPosObject& p : positions) {
        out.WriteDouble(p.dX);
        out.WriteDouble(p.dY);
        out.WriteDouble(p.dZ);
        out.WriteDouble(p.radius);
    }
    for (double d : {X, Y, Z, H, W, Xl, Yl, Zl, Hr, Dr, Wr})
        out.WriteDouble(d);
    for (bool r : reflections)
        out.WriteUInt8(r ? 1 : 0);
    out.WriteUInt8(cabinetEdges ? 1 : 0);
    out.WriteInt32(showMode);
    out.WriteUInt8(normalize ? 1 : 0);
    out.WriteUInt8(smoothing ? 1 : 0);
    out.WriteUInt8(calcImmediately ? 1 : 0);
    for (double r : reflectionFactors)
        out.WriteDouble(r);
    out.WriteDouble(summation);
}

bool TRoomSettings::ReadPreferences(TBinaryReader& in)
{
    ReadBody(in);
    double s;
    if (!in.ReadDouble(s))
        return false;
    summation = s;
    return true;
}

void TRoomSettings::WritePreferences(TBinaryWriter& out) const { WriteBody(out); }

bool TRoomSettings::ReadProject(TBinaryReader& in, int version)
{
    if (!in.ReadBytes(windowRecord.data(), windowRecord.size()))
        return false;
    if (!ReadPreferences(in))
        return false;
    if (version <= 309)
        return true;
    bool b = false;
    (void)ReadBool(in, b);
    measLoaded = b;
    std::string name;
    (void)in.ReadText(name, 271);
    measFileName = name;
    b = false;
    (void)ReadBool(in, b);
    measDisabled = b;
    std::int16_t t = 300;
    if (in.ReadInt16(t))
        measTransition = t;
    b = true;
    (void)ReadBool(in, b);
    measAutoLevel = b;
    double v = 0;
    if (in.ReadDouble(v))
        measLevelOffset = v;
    if (!in.ReadDouble(v))
        return false;
    measLevelFactor = v;
    return true;
}

void TRoomSettings::WriteProject(TBinaryWriter& out) const
{
    out.WriteBytes(windowRecord.data(), windowRecord.size());
    WriteBody(out);
    out.WriteUInt8(measLoaded ? 1 : 0);
    out.WriteText(measFileName, 271);
    out.WriteUInt8(measDisabled ? 1 : 0);
    out.WriteInt16(measTransition);
    out.WriteUInt8(measAutoLevel ? 1 : 0);
    out.WriteDouble(measLevelOffset);
    out.WriteDouble(measLevelFactor);
}

void TRoomSettings::LoadPreferences(const std::string& path)
{
    Reset();
    TBinaryReader in;
    if (!in.Open(path, PreferencesSize) || in.Size() < PreferencesSize || !ReadPreferences(in))
        Reset();
}

std::vector<std::string> TRoomSettings::ReportLines(std::span<const TRoomSource> sources, const TRoomCounts& counts) const
{
    std::vector<std::string> lines;
    lines.push_back("Room and Cabinet");
    lines.push_back(Format(" Roof height\t%3.3fm", Hr));
    lines.push_back(Format(" Room depth\t%3.3fm", Dr));
    lines.push_back(Format(" Room width\t%3.3fm", Wr));
    lines.push_back(Format(" Speaker pos.\tX=%3.3fm", X) + Format("\t\tY=%3.3fm", Y) + Format("\t\tZ=%3.3fm", Z));
    lines.push_back(Format(" Baffle dim.\tW=%3.3fm", W) + Format(" H=%3.3fm", H));
    lines.push_back(" Visible acoustic elements position(s)");
    for (const TRoomSource& source : sources) {
        const int count = source.CountIn(counts);
        for (int k = 0; k < count && k < 9; ++k) {
            const TPosObject& p = positions[static_cast<std::size_t>(source.group * 9 + k)];
            std::string label = count == 1 ? std::string(source.one) : FormatInt(source.numbered, k + 1);
            lines.push_back(label + Format("dX=%3.2fm", p.dX) + Format("\tdY=%3.2fm", p.dY) +
                            Format("\tdZ=%3.2fm", p.dZ));
        }
    }
    lines.push_back(Format(" Meas. pos.\tX=%3.2fm", Xl) + Format("\t\tY=%3.2fm", Yl) + Format("\t\tZ=%3.2fm", Zl));

    int on = 0;
    for (bool r : reflections)
        on += r ? 1 : 0;
    int D = on + (cabinetEdges ? 1 : 0);
    if (D > 0) {
        lines.push_back(" Reflections from");
        std::string line = "  ";
        int E = 0;
        // Switch order: speaker backwall, left, right, floor, roof, listener backwall;
        // factor order has roof (3) before floor (4).
        const char* firstNames[3] = {"Speaker backwall (%2.2f), ", "Left side wall (%2.2f), ", "Right side wall (%2.2f), "};
        for (int i = 0; i < 3; ++i) {
            if (reflections[static_cast<std::size_t>(i)]) {
                line += Format(firstNames[i], Absorption(reflectionFactors[static_cast<std::size_t>(i)]));
                ++E;
            }
        }
        if (D >= 3 && !(E == 3 && D == 3)) {
            lines.push_back(line);
            line = "  ";
        }
        if (reflections[3])
            line += Format("Floor (%2.2f), ", Absorption(reflectionFactors[4]));
        if (reflections[4])
            line += Format("Roof (%2.2f), ", Absorption(reflectionFactors[3]));
        if (reflections[5])
            line += Format("Listener backwall (%2.2f), ", Absorption(reflectionFactors[5]));
        if (cabinetEdges)
            line += "Cabinet edges, ";
        lines.push_back(line);
    }
    if (normalize)
        lines.push_back(" SPL normalized to 1m distance");
    if (smoothing)
        lines.push_back(" Response 1/3 octave smoothed");
    if (measLoaded && !measDisabled)
        lines.push_back("Measured SPL data :" + measFileName);
    return lines;
}
