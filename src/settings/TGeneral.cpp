#include "settings/TGeneral.h"

#include "core/TBinaryStream.h"
#include "settings/TGeneralDialog.h"

#include <algorithm>
#include <cmath>

namespace {

// The scales of a new project.
constexpr int kDefaultTransform = 512;
constexpr int kDefaultSampleRate = 44100;

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Everything the block can hold, read whole before any of it is taken.
struct TBlock {
    std::uint8_t infinite = 0;
    double distance = 0.0;
    std::int16_t surfaceCount = 0;
    TGeneral::TRays surface{};
    std::int16_t overlayCount = 0;
    TGeneral::TOverlayRays overlay{};
    std::int16_t lower = 0;
    std::int16_t upper = 0;
    std::int16_t transform = 0;
    std::int32_t sampleRate = 0;
    std::uint8_t disableIfft = 0;
    std::uint8_t vertical = 0;
    std::uint8_t hidePhase = 0;
    std::uint8_t groupDelayAuto = 0;
    std::uint8_t impedanceAuto = 0;
    std::int16_t splRange = 0;
    std::int16_t impedanceMaximum = 0;
    std::uint8_t hideOnAxis = 0;
    std::uint8_t inhibit = 0;
    double groupDelayMinimum = 0.0;
    double groupDelayMaximum = 0.0;
    std::string title;
};

bool ReadRays(TBinaryReader& in, std::int16_t& count, std::int16_t* rays, std::size_t size)
{
    bool ok = in.ReadInt16(count);
    for (std::size_t i = 0; i < size; ++i)
        ok = ok && in.ReadInt16(rays[i]);
    return ok;
}

bool RaysPlausible(std::int16_t count, const std::int16_t* rays, int maximum)
{
    if (count < 1 || count > maximum)
        return false;
    for (int i = 0; i < count; ++i)
        if (rays[i] < -90 || rays[i] > 90)
            return false;
    return true;
}

} // namespace

TGeneral::TGeneral() { Reset(); }

void TGeneral::SetDefaults()
{
    infinite_ = true;
    distance_ = 1.0;
    lowerFrequency_ = 20;
    upperFrequency_ = 20000;
    transformSize_ = kDefaultTransform;
    sampleRate_ = kDefaultSampleRate;
    disableIfft_ = false;
    surfaceRayCount_ = 1;
    surfaceRays_.fill(0);
    overlayRayCount_ = 1;
    overlayRays_.fill(0);
    onAxisIndex_ = 0;
    flipUpDown_ = false;
    groupDelayAuto_ = true;
    impedanceAuto_ = true;
    splRange_ = 30;
    impedanceMaximum_ = 30;
    groupDelayMinimum_ = -2.0;
    groupDelayMaximum_ = 10.0;
    title_.clear();
    hideOnAxis_ = false;
    inhibit_ = false;
    vertical_ = true;
    hidePhase_ = false;
}

void TGeneral::Reset()
{
    CloseDialogForReset();
    SetDefaults();
    RebuildTables();
}

void TGeneral::RebuildTables()
{
    const int n = transformSize_;
    log2TransformSize_ = static_cast<std::int16_t>(std::trunc(std::log(n) / std::log(2.0) + 0.1));
    const int bits = log2TransformSize_;
    // 2π as the transform has always written it, so the tables match stored results.
    constexpr double kTwoPi = 6.28318530718;
    const double binWidth = static_cast<double>(sampleRate_) / n;
    binFrequencies_.fill(0.0);
    twiddles_.fill(TComplex{});
    for (int i = 0; i < n / 2; ++i) {
        const auto k = static_cast<std::size_t>(i);
        binFrequencies_[k] = i * binWidth;
        twiddles_[k] = {std::cos(kTwoPi * i / n), std::sin(kTwoPi * i / n)};
    }
    bitReversal_.fill(0);
    for (int i = 1; i < n; ++i) {
        int b = i;
        int reversed = 0;
        for (int bit = bits - 1; bit >= 0; --bit) {
            if (b >= (1 << bit)) {
                reversed += 1 << (bits - bit - 1);
                b -= 1 << bit;
            }
        }
        bitReversal_[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(reversed);
    }
    UpdateOnAxisIndex();
}

void TGeneral::UpdateOnAxisIndex()
{
    onAxisIndex_ = 0;
    for (int i = 0; i < surfaceRayCount_; ++i) {
        if (surfaceRays_[static_cast<std::size_t>(i)] == 0) {
            onAxisIndex_ = static_cast<std::int16_t>(i);
            return;
        }
    }
}

std::size_t TGeneral::BlockSize(int version)
{
    if (version > 409)
        return kBlockSize;
    if (version > 399)
        return kBlockSize400;
    if (version > 309)
        return kBlockSize310;
    return 0;
}

bool TGeneral::Read(TBinaryReader& in, int version)
{
    TBlock b;
    bool ok = true;
    if (version > 309) {
        ok = ok && in.ReadUInt8(b.infinite) && in.ReadDouble(b.distance);
        ok = ok && ReadRays(in, b.surfaceCount, b.surface.data(), b.surface.size());
        ok = ok && ReadRays(in, b.overlayCount, b.overlay.data(), b.overlay.size());
        ok = ok && in.ReadInt16(b.lower) && in.ReadInt16(b.upper) && in.ReadInt16(b.transform);
        ok = ok && in.ReadInt32(b.sampleRate) && in.ReadUInt8(b.disableIfft);
    }
    if (version > 409)
        ok = ok && in.ReadUInt8(b.vertical) && in.ReadUInt8(b.hidePhase);
    if (version > 399) {
        ok = ok && in.ReadUInt8(b.groupDelayAuto) && in.ReadUInt8(b.impedanceAuto);
        ok = ok && in.ReadInt16(b.splRange) && in.ReadInt16(b.impedanceMaximum);
        ok = ok && in.ReadUInt8(b.hideOnAxis) && in.ReadUInt8(b.inhibit);
        ok = ok && in.ReadDouble(b.groupDelayMinimum) && in.ReadDouble(b.groupDelayMaximum);
        ok = ok && in.ReadText(b.title, kTitleField);
    }
    if (!ok)
        return false;

    // Values no dialog produces would overrun the ray lists or the tables, or put a
    // NaN into every off-axis response; such a block is damage, and nothing is taken.
    if (version > 309) {
        if (!std::isfinite(b.distance) || b.distance <= 0.0)
            return false;
        if (!RaysPlausible(b.surfaceCount, b.surface.data(), kMaxSurfaceRays) ||
            !RaysPlausible(b.overlayCount, b.overlay.data(), kMaxOverlayRays))
            return false;
        if (b.lower < 1 || b.upper <= b.lower)
            return false;
        if (!IsPowerOfTwo(b.transform) || b.transform < kMinTransform || b.transform > kMaxTransform)
            return false;
        if (b.sampleRate < 1)
            return false;
    }
    if (version > 399) {
        if (!std::isfinite(b.groupDelayMinimum) || !std::isfinite(b.groupDelayMaximum))
            return false;
        if (b.splRange < 1 || b.impedanceMaximum < 1)
            return false;
    }

    if (version > 309) {
        infinite_ = b.infinite != 0;
        distance_ = b.distance;
        surfaceRayCount_ = b.surfaceCount;
        surfaceRays_ = b.surface;
        overlayRayCount_ = b.overlayCount;
        overlayRays_ = b.overlay;
        lowerFrequency_ = b.lower;
        upperFrequency_ = b.upper;
        transformSize_ = b.transform;
        sampleRate_ = b.sampleRate;
        disableIfft_ = b.disableIfft != 0;
    }
    if (version > 409) {
        vertical_ = b.vertical != 0;
        hidePhase_ = b.hidePhase != 0;
    }
    if (version > 399) {
        groupDelayAuto_ = b.groupDelayAuto != 0;
        impedanceAuto_ = b.impedanceAuto != 0;
        splRange_ = b.splRange;
        impedanceMaximum_ = b.impedanceMaximum;
        hideOnAxis_ = b.hideOnAxis != 0;
        inhibit_ = b.inhibit != 0;
        groupDelayMinimum_ = b.groupDelayMinimum;
        groupDelayMaximum_ = b.groupDelayMaximum;
        // A field without its terminator holds 100 characters; the title keeps 99,
        // so it is written back terminated.
        StoreTitle(b.title);
    }
    RebuildTables();
    // An open dialog shows what the file brought.
    if (dialog_.p)
        dialog_.p->Reload();
    return true;
}

bool TGeneral::Write(TBinaryWriter& out) const
{
    const std::size_t start = out.Size();
    out.WriteUInt8(infinite_ ? 1 : 0);
    out.WriteDouble(distance_);
    out.WriteInt16(surfaceRayCount_);
    for (std::int16_t ray : surfaceRays_)
        out.WriteInt16(ray);
    out.WriteInt16(overlayRayCount_);
    for (std::int16_t ray : overlayRays_)
        out.WriteInt16(ray);
    out.WriteInt16(lowerFrequency_);
    out.WriteInt16(upperFrequency_);
    out.WriteInt16(transformSize_);
    out.WriteInt32(sampleRate_);
    out.WriteUInt8(disableIfft_ ? 1 : 0);
    out.WriteUInt8(vertical_ ? 1 : 0);
    out.WriteUInt8(hidePhase_ ? 1 : 0);
    out.WriteUInt8(groupDelayAuto_ ? 1 : 0);
    out.WriteUInt8(impedanceAuto_ ? 1 : 0);
    out.WriteInt16(splRange_);
    out.WriteInt16(impedanceMaximum_);
    out.WriteUInt8(hideOnAxis_ ? 1 : 0);
    out.WriteUInt8(inhibit_ ? 1 : 0);
    out.WriteDouble(groupDelayMinimum_);
    out.WriteDouble(groupDelayMaximum_);
    out.WriteText(title_, kTitleField);
    return out.Size() - start == kBlockSize;
}

void TGeneral::Changed(bool markDirty, bool recalculate)
{
    TGeneralListener* listener = listener_.p;
    if (!listener)
        return;
    if (markDirty)
        listener->MarkAllDirty();
    listener->RefreshDialogs();
    if (recalculate)
        listener->Recalculate();
}

void TGeneral::SetLowerFrequency(int hz)
{
    lowerFrequency_ = static_cast<std::int16_t>(std::clamp(hz, 1, 32767));
    Changed(false);
}

void TGeneral::SetUpperFrequency(int hz)
{
    upperFrequency_ = static_cast<std::int16_t>(std::clamp(hz, 1, 32767));
    Changed(false);
}

void TGeneral::SetSampleRate(int hz)
{
    sampleRate_ = std::max(hz, 1);
    Changed(false);
}

bool TGeneral::SetPoints(int points)
{
    if (points < kMinTransform / 2 || points > kMaxTransform / 2 || !IsPowerOfTwo(points))
        return false;
    transformSize_ = static_cast<std::int16_t>(2 * points);
    if (listener_.p)
        listener_.p->MarkAllDirty();
    RebuildTables();
    Changed(false);
    return true;
}

void TGeneral::SetDisableIfft(bool on)
{
    disableIfft_ = on;
    Changed(false);
}

void TGeneral::SetFlipUpDown(bool on)
{
    flipUpDown_ = on;
    Changed(false);
}

void TGeneral::SetHideOnAxis(bool on)
{
    hideOnAxis_ = on;
    Changed(false);
}

void TGeneral::SetInhibit(bool on)
{
    inhibit_ = on;
    Changed(false);
}

void TGeneral::SetHidePhase(bool on)
{
    hidePhase_ = on;
    Changed(false);
}

void TGeneral::SetVertical(bool on)
{
    vertical_ = on;
    Changed(false);
}

void TGeneral::SetInfinite(bool on)
{
    infinite_ = on;
    Changed(true);
}

void TGeneral::SetDistance(double metres)
{
    if (!std::isfinite(metres) || metres <= 0.0)
        return;
    distance_ = metres;
    Changed(true);
}

void TGeneral::SetGroupDelayAuto(bool on)
{
    groupDelayAuto_ = on;
    Changed(false);
}

void TGeneral::SetGroupDelayMinimum(double ms)
{
    if (!std::isfinite(ms))
        return;
    groupDelayMinimum_ = ms;
    Changed(false);
}

void TGeneral::SetGroupDelayMaximum(double ms)
{
    if (!std::isfinite(ms))
        return;
    groupDelayMaximum_ = ms;
    Changed(false);
}

void TGeneral::SetImpedanceAuto(bool on)
{
    impedanceAuto_ = on;
    Changed(false);
}

void TGeneral::SetImpedanceMaximum(int ohm)
{
    impedanceMaximum_ = static_cast<std::int16_t>(std::clamp(ohm, 1, 32767));
    Changed(false);
}

void TGeneral::SetSplRange(int db)
{
    splRange_ = static_cast<std::int16_t>(std::clamp(db, 1, 32767));
    Changed(false);
}

void TGeneral::StoreTitle(const std::string& title) { title_ = title.substr(0, std::min(title.size(), kMaxTitle)); }

void TGeneral::SetTitle(const std::string& title)
{
    StoreTitle(title);
    // A title shows only in headings: nothing to compute again.
    Changed(false, false);
}

TRayChange TGeneral::AddSurfaceRay(int angle)
{
    if (inhibit_)
        return TRayChange::Inhibited;
    if (surfaceRayCount_ >= kMaxSurfaceRays)
        return TRayChange::TooMany;
    const auto begin = surfaceRays_.begin();
    const auto end = begin + surfaceRayCount_;
    if (std::find(begin, end, angle) != end)
        return TRayChange::AlreadyThere;
    const auto at = std::find_if(begin, end, [angle](std::int16_t ray) { return ray < angle; });
    std::copy_backward(at, end, end + 1);
    *at = static_cast<std::int16_t>(angle);
    ++surfaceRayCount_;
    UpdateOnAxisIndex();
    Changed(true);
    return TRayChange::Done;
}

TRayChange TGeneral::RemoveSurfaceRay(int angle)
{
    if (inhibit_)
        return TRayChange::Inhibited;
    if (angle == 0 || surfaceRayCount_ <= 1)
        return TRayChange::OnAxis;
    const auto begin = surfaceRays_.begin();
    const auto end = begin + surfaceRayCount_;
    const auto at = std::find(begin, end, angle);
    if (at == end)
        return TRayChange::NotFound;
    // An overlay ray shows a surface ray: it goes with it. The first overlay entry is
    // the on-axis ray and never matches a removable angle.
    const auto overlayBegin = overlayRays_.begin() + 1;
    const auto overlayEnd = overlayRays_.begin() + overlayRayCount_;
    const auto overlayAt = std::find(overlayBegin, overlayEnd, angle);
    if (overlayAt != overlayEnd) {
        std::copy(overlayAt + 1, overlayEnd, overlayAt);
        --overlayRayCount_;
        overlayRays_[static_cast<std::size_t>(overlayRayCount_)] = 0;
    }
    std::copy(at + 1, end, at);
    --surfaceRayCount_;
    surfaceRays_[static_cast<std::size_t>(surfaceRayCount_)] = 0;
    UpdateOnAxisIndex();
    Changed(true);
    return TRayChange::Done;
}

TRayChange TGeneral::AddOverlayRay(int angle)
{
    if (inhibit_)
        return TRayChange::Inhibited;
    const auto end = overlayRays_.begin() + overlayRayCount_;
    if (std::find(overlayRays_.begin(), end, angle) != end)
        return TRayChange::AlreadyThere;
    if (overlayRayCount_ >= kMaxOverlayRays)
        return TRayChange::TooMany;
    overlayRays_[static_cast<std::size_t>(overlayRayCount_)] = static_cast<std::int16_t>(angle);
    ++overlayRayCount_;
    Changed(true);
    return TRayChange::Done;
}

TRayChange TGeneral::RemoveOverlayRay(int index)
{
    if (inhibit_)
        return TRayChange::Inhibited;
    if (index < 0 || index >= overlayRayCount_)
        return TRayChange::NotFound;
    if (overlayRays_[static_cast<std::size_t>(index)] == 0 || overlayRayCount_ <= 1)
        return TRayChange::OnAxis;
    const auto at = overlayRays_.begin() + index;
    std::copy(at + 1, overlayRays_.begin() + overlayRayCount_, at);
    --overlayRayCount_;
    overlayRays_[static_cast<std::size_t>(overlayRayCount_)] = 0;
    Changed(true);
    return TRayChange::Done;
}

void TGeneral::CloseDialogForReset()
{
    // Closing takes the typed title over, keeps the position, gives the menu command
    // back and unregisters the dialog; the defaults follow.
    if (TGeneralDialog* dialog = dialog_.p)
        dialog->Close();
    dialog_.p = nullptr;
}
