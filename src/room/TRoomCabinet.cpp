// The room and cabinet model: room transfer spectra built from image sources and baffle
// edge pieces, the listening spectrum, the combination of the groups, measured data,
// smoothing and the curves.

#include "room/TRoomCabinet.h"

#include "core/TBinaryStream.h"
#include "core/TProgramFolder.h"
#include "measdata/TMeasCurveReader.h"
#include "measdata/TResponseAtPosition.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 6.28318530718;
constexpr double kDegrees = 57.29577951307855;
constexpr double kSamplesPerMetre = TRoomCabinet::kSampleRate / TRoomCabinet::kSoundSpeed;
// A level below this counts as silence: the curves show -200 dB there (the lowest level
// offset the dialog takes) instead of minus infinity.
constexpr double kSilence = 1e-10;
// Listener and baffle centre closer than this are taken this far apart, so the direct
// sound stays finite.
constexpr double kMinDistance = 0.001;
constexpr int kGrid = 500;

} // namespace

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
    fft_.create(kSpectrum);
    work_ = CVector(kSpectrum);
    BuildTables();
    SetXData(setup_.grid.Frequencies().data());
    SetPointCount(std::min(setup_.grid.Count(), kGrid));
    AddCurve(level_.data(), levelStyle_, "In box, in room", false);
    AddCurve(freeAir_.data(), freeAirStyle_, "Free air", false);
    SetPhaseCurve(phase_.data(), phaseStyle_);
    SetXUnit("Hz");
    SetYUnit("dB");
    placement.restored = TRect{0, 290, 600, 580};
    ResetRoom();
}

TRoomCabinet::~TRoomCabinet()
{
    if (closeDialog)
        closeDialog();
}

void TRoomCabinet::BuildTables()
{
    for (int i = 0; i < kBins; ++i)
        binFreq_[static_cast<std::size_t>(i)] = i * kBinWidth;
}

// ---------------------------------------------------------------- settings

void TRoomCabinet::ResetRoom()
{
    const auto record = settings_.windowRecord; // the window stays where it is
    settings_.Reset();
    settings_.windowRecord = record;
    recompute_ = true;
    storedCounts_ = {0, 0};
    cd_ = -0.00105 / (std::sqrt(2.0) * kTwoPi);
    measured_.fill(TComplex());
    SetShowMode(settings_.showMode);
}

void TRoomCabinet::SetShowMode(int mode)
{
    settings_.showMode = mode == 0 ? 0 : 1;
    SetCaption(settings_.showMode == 0 ? kImpactCaption : kCaption);
    SetShownCurves(settings_.showMode == 0 ? 1 : 2);
}

bool TRoomCabinet::ReadRoom(TBinaryReader& in, bool preferences, int version)
{
    recompute_ = true;
    bool ok = false;
    if (preferences) {
        ok = settings_.ReadPreferences(in);
    } else {
        ok = settings_.ReadProject(in, version);
        TBinaryReader record(std::vector<std::uint8_t>(settings_.windowRecord.begin(), settings_.windowRecord.end()));
        if (ok && !ReadWindowRecord(record))
            ok = false;
        if (ok && settings_.measLoaded)
            ReadMeasuredFile(settings_.measFileName);
    }
    SetShowMode(settings_.showMode);
    return ok;
}

void TRoomCabinet::WriteRoom(TBinaryWriter& out, bool preferences) const
{
    if (preferences) {
        settings_.WritePreferences(out);
        return;
    }
    // The settings keep the window record as bytes; the window's own place goes there.
    TBinaryWriter record;
    WriteWindowRecord(record);
    const std::vector<std::uint8_t>& bytes = record.Bytes();
    std::copy_n(bytes.begin(), std::min(bytes.size(), settings_.windowRecord.size()), settings_.windowRecord.begin());
    settings_.WriteProject(out);
}

bool TRoomCabinet::WriteRoom(const std::string& path) const
{
    TBinaryWriter out;
    WriteRoom(out, true);
    return out.SaveTo(path);
}

void TRoomCabinet::LoadPreferences(const std::string& path)
{
    ResetRoom();
    settings_.LoadPreferences(path);
    SetShowMode(settings_.showMode);
}

bool TRoomCabinet::ReadMeasuredFile(const std::string& storedName)
{
    settings_.measFileName = storedName.substr(0, 270);
    settings_.measLoaded = false;
    if (storedName.empty())
        return false;
    const std::string path = folder_.Resolve(storedName);
    TMeasGrid grid;
    grid.frequencies = setup_.grid.Frequencies().data();
    grid.count = std::min(setup_.grid.Count(), kGrid);
    switch (ReadMeasCurveFile(path, grid, TMeasKind::Spl, measured_.data())) {
    case TMeasReadResult::NotOpened:
        host_.Message("Could not open file : " + path + "\nCheck if path and filename is correct.", "Measured data",
                      TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    case TMeasReadResult::NotLoaded: return false;
    case TMeasReadResult::Loaded: break;
    }
    settings_.measLoaded = true;
    return true;
}

std::vector<std::string> TRoomCabinet::ReportRoom() const { return settings_.ReportLines(sources_, Counts()); }

const std::vector<std::string>& TRoomCabinet::ReportLines(std::span<const TRoomSource> sources,
                                                          const TRoomCounts& counts)
{
    TReported& r = reported_;
    if (!r.valid || r.sources != sources.data() || r.sourceCount != sources.size() || !(r.counts == counts) ||
        !(r.settings == settings_)) {
        r.lines = settings_.ReportLines(sources, counts);
        r.settings = settings_;
        r.counts = counts;
        r.sources = sources.data();
        r.sourceCount = sources.size();
        r.valid = true;
    }
    return r.lines;
}

TRoomCounts TRoomCabinet::Counts() const
{
    TRoomInputs in;
    if (bindInputs)
        bindInputs(in);
    TRoomCounts counts;
    // The report and the dialog list name every group the type shows, computed or not.
    for (int g = 0; g < in.groupCount && g < 2; ++g) {
        const TRoomGroupInput& group = in.groups[static_cast<std::size_t>(g)];
        switch (group.source.count) {
        case TRoomSource::Drivers: counts.drivers = group.n; break;
        case TRoomSource::PortsA: counts.portsA = group.n; break;
        case TRoomSource::PortsB: counts.portsB = group.n; break;
        case TRoomSource::Radiators: counts.radiators = group.n; break;
        }
    }
    return counts;
}

TPosObject& TRoomCabinet::Position(const TRoomSource& source, int k)
{
    return settings_.positions[static_cast<std::size_t>(source.group * 9 + std::clamp(k, 0, 8))];
}

void TRoomCabinet::ShowRoomDialog()
{
    if (bindInputs)
        bindInputs(inputs_);
    else
        inputs_ = TRoomInputs{};
    CheckCounts(inputs_);
    if (openDialog)
        openDialog(*this);
}

const TComplex* TRoomCabinet::StoredSpectrum(int group) const { return spectra_[group == 0 ? 0 : 1].data(); }

double TRoomCabinet::ListeningDistance() const
{
    const TRoomSettings& s = settings_;
    const double dx = s.X + s.W / 2 - s.Xl, dy = s.Y + s.H / 2 - s.Yl, dz = s.Z - s.Zl;
    const double v = std::sqrt(dx * dx + dy * dy + dz * dz);
    return v > kMinDistance ? v : kMinDistance;
}

// ---------------------------------------------------------------- calculation

void TRoomCabinet::CheckCounts(const TRoomInputs& in)
{
    for (int g = 0; g < in.groupCount && g < 2; ++g) {
        const int n = in.groups[static_cast<std::size_t>(g)].n;
        int& stored = storedCounts_[static_cast<std::size_t>(g)];
        if (n != stored) {
            recompute_ = true;
            stored = n;
        }
    }
}

void TRoomCabinet::Paint(TCanvas& canvas)
{
    BringUpToDate();
    TPlotLogXLinY::Paint(canvas);
}

void TRoomCabinet::CalculateRoom()
{
    deferred_ = false;
    TRoomInputs& in = inputs_;
    if (bindInputs)
        bindInputs(in);
    else
        in = TRoomInputs{};
    const int count = std::clamp(setup_.grid.Count(), 0, kGrid);
    SetPointCount(count);
    PlaceGrid(count);
    const double v = ListeningDistance();
    const double norm = settings_.normalize ? v : 1.0;
    CheckCounts(in);

    // Each group's values go straight into the result: the first as it is, the second
    // subtracted; a group without elements (or without a response) adds nothing.
    bool empty = true, second = false;
    for (int g = 0; g < in.groupCount && g < 2; ++g) {
        const TRoomGroupInput& group = in.groups[static_cast<std::size_t>(g)];
        const int n = std::min(group.n, 9);
        if (n <= 0 || !group.p)
            continue;
        auto& spectrum = spectra_[static_cast<std::size_t>(g)];
        if (recompute_) {
            for (int k = 0; k < n; ++k)
                Position(group.source, k).radius = group.radius;
            BuildSpectrum(group, spectrum, v);
        }
        BuildListening(g, group, v);
        const double scale = norm / n;
        if (g == 0) {
            for (int k = 0; k < count; ++k)
                result_[static_cast<std::size_t>(k)] = group.p[k] * scale * Interpolate(k);
            empty = false;
        } else {
            for (int k = 0; k < count; ++k) {
                const auto K = static_cast<std::size_t>(k);
                const TComplex value = group.p[k] * scale * Interpolate(k);
                second_[K] = value;
                result_[K] = empty ? -value : result_[K] - value;
            }
            empty = false;
            second = true;
        }
    }
    if (empty)
        std::fill_n(result_.begin(), count, TComplex());
    if (!second)
        std::fill_n(second_.begin(), count, TComplex());

    if (settings_.measLoaded && !settings_.measDisabled)
        BlendMeasured(count);
    if (settings_.smoothing)
        Smooth(count, in);
    const bool impact = settings_.showMode == 0;
    const double g = settings_.normalize ? 0.0 : -20.0 * std::log10(v);
    for (int k = 0; k < count; ++k) {
        TComplex& r = result_[static_cast<std::size_t>(k)];
        if (in.importCorrection)
            r *= in.importCorrection[k];
        if (impact && in.pressure) {
            const TComplex p = in.pressure[k];
            // No pressure to compare with: the room's effect is not defined there.
            r = SquaredMagnitudeOf(p) > 0 ? DivComplex(r, p) : TComplex();
        }
        level_[static_cast<std::size_t>(k)] = std::max(SquaredMagnitudeOf(r), kSilence * kSilence);
        if (!impact)
            freeAir_[static_cast<std::size_t>(k)] = (in.splTotal ? in.splTotal[k] : 0.0) + g;
    }
    // Levels and phases in passes of their own: the library's log10 and atan2 would cost
    // more than the rest of the calculation.
    DecibelsOfSquaredInPlace(level_.data(), count);
    PhasesOf(result_.data(), phase_.data(), count, kDegrees);
    SetShownCurves(impact ? 1 : 2);
    recompute_ = false;
    SetPhaseShown(!setup_.hidePhase);
    if (count > 0) {
        FitXRange(0);
        FitYRange(setup_.autorange ? 0 : setup_.splRange);
        DataReady();
    }
    Redraw();
}

void TRoomCabinet::BuildSpectrum(const TRoomGroupInput& group, std::array<TComplex, kSpectrum>& spectrum, double v)
{
    h_.fill(0.0);
    const int n = std::min(group.n, 9);
    if (group.source.group == TRoomSettings::DriverUnits && settings_.cabinetEdges) {
        for (int k = 0; k < n; ++k)
            AddEdges(Position(group.source, k), v);
        double sum = 0;
        for (double x : h_)
            sum += x;
        // The edge waves together take away the direct sound the baffle does not hold
        // back at low frequencies: they sum to -n / v.
        if (sum != 0 && std::isfinite(sum)) {
            const double scale = -n / (v * sum);
            for (double& x : h_)
                x *= scale;
        }
    }
    for (int k = 0; k < n; ++k)
        AddReflections(Position(group.source, k));
    for (int i = kSpectrum / 2; i < kSpectrum; ++i)
        h_[static_cast<std::size_t>(i)] *= (kSpectrum - i) / double(kSpectrum / 2);
    for (int i = 0; i < kSpectrum; ++i)
        work_[i] = TComplex(h_[static_cast<std::size_t>(i)], 0.0);
    fft_.transform(work_, work_, false);
    for (int i = 0; i < kSpectrum; ++i)
        spectrum[static_cast<std::size_t>(i)] = work_[i];
}

void TRoomCabinet::AddEdges(const TPosObject& pos, double)
{
    const TRoomSettings& s = settings_;
    const double sx = s.X + pos.dX, sy = s.Y + pos.dY, sz = s.Z + pos.dZ;
    const double bx = s.Xl - sx, by = s.Yl - sy, bz = s.Zl - sz;
    const double B = std::sqrt(bx * bx + by * by + bz * bz);
    const double B2 = B * B;
    // One edge: pieces of 1 mm along it, at `across` from the element in the plane.
    auto edge = [&](double length, double along0, double across) {
        const double across2 = across * across;
        for (double t = 0; t < length - 0.001; t += 0.001) {
            const double u = t + 0.0005 - along0;
            // A piece under the element is half a piece away, not at no distance.
            const double l = std::max(std::sqrt(u * u + across2), 0.0005);
            const double N = std::sqrt(l * l + B2);
            const double tau = (l + N - B) * kSamplesPerMetre;
            if (!(tau < kSpectrum - 1))
                continue;
            const double a = cd_ / (l * N);
            const int i = static_cast<int>(tau);
            const double phi = tau - i;
            h_[static_cast<std::size_t>(i)] += (1 - phi) * a;
            h_[static_cast<std::size_t>(i + 1)] += phi * a;
        }
    };
    edge(s.H, pos.dY, pos.dX);        // left
    edge(s.H, pos.dY, s.W - pos.dX);  // right
    edge(s.W, pos.dX, s.H - pos.dY);  // top
    if (s.Y != 0)                     // a baffle on the floor has no free bottom edge
        edge(s.W, pos.dX, pos.dY);    // bottom
}

void TRoomCabinet::AddReflections(const TPosObject& pos)
{
    const TRoomSettings& s = settings_;
    const double sx = s.X + pos.dX, sy = s.Y + pos.dY, sz = s.Z + pos.dZ;
    const double lx = s.Xl, ly = s.Yl, lz = s.Zl;
    const double Wr = s.Wr, Hr = s.Hr, Dr = s.Dr;
    const double d = std::sqrt((lx - sx) * (lx - sx) + (ly - sy) * (ly - sy) + (lz - sz) * (lz - sz));
    const double sum = s.summation;
    auto add = [&](double a, double b, double c, double coef) {
        const double dI = std::sqrt(a * a + b * b + c * c);
        const double delta = dI - d;
        if (delta == 0 || !(delta > 0))
            return; // an image nearer than the source comes before the direct sound
        const double at = delta * kSamplesPerMetre;
        if (at >= kSpectrum)
            return;
        const int i = static_cast<int>(at);
        if (i > 0)
            h_[static_cast<std::size_t>(i)] += coef * sum / dI;
    };
    const auto& on = s.reflections; // speaker backwall, left, right, floor, roof, listener backwall
    const bool back = on[0], left = on[1], right = on[2], floor = on[3], roof = on[4], lback = on[5];
    const auto& r = s.reflectionFactors; // speaker backwall, left, right, roof, floor, listener backwall
    const double rb = r[0], rl = r[1], rr = r[2], rc = r[3], rf = r[4], rlb = r[5];

    const double x0 = sx - lx, y0 = sy - ly, z0 = sz - lz;
    const double xL = sx + lx, xR = 2 * Wr - (sx + lx);
    const double yF = sy + ly, yC = 2 * Hr - sy - ly;
    const double zB = sz + lz, zL = 2 * Dr - sz - lz, zBL = sz + Dr - lz;
    // First order.
    if (back && sz != 0)
        add(x0, y0, zB, rb);
    if (left)
        add(xL, y0, z0, rl);
    if (right)
        add(xR, y0, z0, rr);
    if (floor)
        add(x0, yF, z0, rf);
    if (roof)
        add(x0, yC, z0, rc);
    if (lback)
        add(x0, y0, zL, rlb);
    // Second order.
    if (left && back)
        add(xL, y0, zB, rl * rb);
    if (right && back)
        add(xR, y0, zB, rr * rb);
    if (left && right) {
        add(2 * Wr + sx - lx, y0, z0, rl * rr);
        add(2 * Wr + sx - lx, y0, z0, rl * rr);
    }
    if (left && roof) {
        add(xL, yC, z0, rc * rl);
        add(xL, yC, z0, rc * rl);
    }
    if (right && roof) {
        add(xR, yC, z0, rr * rc);
        add(xR, yC, z0, rr * rc);
    }
    if (roof && floor) {
        add(x0, 2 * Hr + ly - sy, z0, rf * rc);
        add(x0, 2 * Hr + ly - sy, z0, rf * rc);
    }
    if (floor && back)
        add(x0, yF, zB, rf * rb);
    if (roof && back)
        add(x0, yC, zB, rb * rc);
    if (roof && lback)
        add(x0, yC, zL, rlb * rc);
    if (floor && lback)
        add(x0, yF, zL, rf * rlb);
    if (left && lback)
        add(xL, y0, zL, rl * rlb);
    if (right && lback)
        add(xR, y0, zL, rr * rlb);
    // Third order.
    if (left && right) {
        add(3 * Wr + sx - lx, y0, z0, rl * rl * rr);
        add(3 * Wr + sx - lx, y0, z0, rr * rr * rl);
    }
    if (roof && floor) {
        add(x0, 3 * Hr + ly - sy, z0, rf * rf * rc);
        add(x0, 3 * Hr + ly - sy, z0, rc * rc * rf);
    }
    if (back && roof && lback)
        add(x0, yC, zBL, rb * rlb * rc);
    if (back && left && lback)
        add(xL, y0, zBL, rb * rl * rlb);
    if (right && back && lback)
        add(xR, y0, zBL, rb * rr * rlb);
}

void TRoomCabinet::BuildListening(int g, const TRoomGroupInput& group, double v)
{
    const auto G = static_cast<std::size_t>(g);
    const auto& spectrum = spectra_[G];
    auto& D = directivity_[G];
    if (directivityRadius_[G] != group.radius) {
        directivityRadius_[G] = group.radius;
        for (int i = 0; i < kBins; ++i)
            D[static_cast<std::size_t>(i)] = PistonDirectivity(binFreq_[static_cast<std::size_t>(i)], group.radius);
    }
    const int n = std::min(group.n, 9);
    const double direct = n / v;
    const bool edges = group.source.group == TRoomSettings::DriverUnits && settings_.cabinetEdges;
    const double w = edges ? settings_.summation * settings_.summation : 1.0;
    const double directScale = edges ? w + 1 : 1.0;
    for (int i = 0; i < kBins; ++i) {
        const auto I = static_cast<std::size_t>(i);
        listen_[I] = w * D[I] * spectrum[I] + directScale * direct;
    }
}

void TRoomCabinet::PlaceGrid(int count)
{
    const double* f = setup_.grid.Frequencies().data();
    const TGridKey key{count, count > 0 ? f[0] : 0.0, count > 0 ? f[count - 1] : 0.0};
    if (key.count == placed_.count && key.first == placed_.first && key.last == placed_.last)
        return;
    placed_ = key;
    for (int k = 0; k < count; ++k) {
        const auto K = static_cast<std::size_t>(k);
        const double at = f[k] * (kSpectrum / kSampleRate);
        const int j = at > 0 ? static_cast<int>(std::min(at, double(kBins))) : 0;
        if (j + 1 >= kBins - 1) {
            // From 4980 Hz up every point takes bin 510.
            bin_[K] = kBins - 2;
            binWeight_[K] = 0;
        } else if (j < 1) {
            bin_[K] = 0;
            binWeight_[K] = 0;
        } else {
            const auto J = static_cast<std::size_t>(j);
            bin_[K] = j;
            binWeight_[K] = std::log(f[k] / binFreq_[J]) / std::log(binFreq_[J + 1] / binFreq_[J]);
        }
    }
}

TComplex TRoomCabinet::Interpolate(int k) const
{
    const auto K = static_cast<std::size_t>(k);
    const auto J = static_cast<std::size_t>(bin_[K]);
    const double t = binWeight_[K];
    return t == 0 ? listen_[J] : t * listen_[J + 1] + (1 - t) * listen_[J];
}

void TRoomCabinet::BlendMeasured(int count)
{
    const double* f = setup_.grid.Frequencies().data();
    int last = -1;
    for (int k = count - 1; k >= 0; --k) {
        TComplex& r = result_[static_cast<std::size_t>(k)];
        if (std::abs(r) == 0)
            continue;
        if (f[k] <= settings_.measTransition) {
            const TComplex m = measured_[static_cast<std::size_t>(k)];
            // A measured level of nothing gives no level to match: the factor stays.
            if (last == k + 1 && settings_.measAutoLevel && std::abs(m) > 0) {
                settings_.measLevelFactor = 1.0 / std::abs(m);
                settings_.measLevelOffset = 20.0 * std::log10(settings_.measLevelFactor);
            }
            r *= m * settings_.measLevelFactor;
        } else {
            last = k;
        }
    }
}

void TRoomCabinet::Smooth(int count, const TRoomInputs& in)
{
    if (count <= 0)
        return;
    if (in.smoothBeforeImport && in.importCorrection) {
        for (int k = 0; k < count; ++k) {
            const TComplex c = in.importCorrection[k];
            if (std::abs(c) > 0)
                result_[static_cast<std::size_t>(k)] /= c;
        }
    }
    const double start = setup_.startFrequency, stop = setup_.stopFrequency;
    double ratio = start > 0 ? std::floor(stop / start) : 0;
    // A span of less than an octave has no whole quotient to go by: its true ratio
    // still tells how many points a third of an octave takes.
    if (ratio < 2 && start > 0 && stop > start)
        ratio = stop / start;
    const double octaves = ratio > 1 ? std::log(ratio) / std::log(2.0) : 0;
    int m = 0;
    if (octaves > 0)
        m = static_cast<int>(std::min(count * 0.333 / octaves * 0.5 + 0.5, double(count)));
    if (m <= 0)
        return;
    for (int k = 0; k < count; ++k) {
        const TComplex r = result_[static_cast<std::size_t>(k)];
        const double a = std::abs(r);
        // Points without sound take no part in the means.
        logMag_[static_cast<std::size_t>(k)] = a > 0 ? std::log(a) : std::nan("");
        arg_[static_cast<std::size_t>(k)] = std::atan2(r.imag(), r.real());
    }
    // Running sums over the window, so every point is read twice in all.
    double sumA = 0, sumP = 0;
    int used = 0;
    auto take = [&](int k, int sign) {
        const double a = logMag_[static_cast<std::size_t>(k)];
        if (std::isnan(a))
            return;
        sumA += sign * a;
        sumP += sign * arg_[static_cast<std::size_t>(k)];
        used += sign;
    };
    for (int k = 0; k <= std::min(m, count - 1); ++k)
        take(k, 1);
    for (int k = 0; k < count; ++k) {
        result_[static_cast<std::size_t>(k)] = used > 0 ? std::polar(std::exp(sumA / used), sumP / used) : TComplex();
        if (k - m >= 0)
            take(k - m, -1);
        if (k + m + 1 < count)
            take(k + m + 1, 1);
    }
}
