#include "timedomain/TSimDialog.h"

#include "settings/TGeneral.h"
#include "timedomain/TImpResponse.h"
#include "ui/THost.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2 * kPi;
constexpr double kFullScale = 32768.0;
constexpr double kLargestSample = 32767.0;

const TFieldInfo kScaleInfo{"Scale", "dB", "%2.1f", -40.0, 40.0};
const TFieldInfo kTimeInfo{"Time ", "s", "%2.1f", 0.0, 1e12, 1.0, TValueKind::Real, true};
const TFieldInfo kHrtfInfo{"Simulate HRTF", "", "", 0.0, 1.0, 1.0, TValueKind::Switch};

// The transform size the general settings hold, or the default for a value no dialog
// offers (a damaged file is refused before it gets here; this only keeps the arrays sane).
int SafeTransformSize(const TGeneral& general)
{
    const int n = general.TransformSize();
    const bool power = n > 0 && (n & (n - 1)) == 0;
    return power && n >= TGeneral::kMinTransform && n <= TGeneral::kMaxTransform ? n : 512;
}

// Level shaping of the HRTF simulation, as a power of ten (log10 of the factor).
double ShapingExponent(double f)
{
    if (f < 100)
        return -0.2;
    if (f < 500)
        return 0.06 * std::log(f / 100) / std::log(5.0) - 0.2;
    if (f < 800)
        return 0.085 * std::log(f / 500) / std::log(1.6) - 0.14;
    if (f < 1200)
        return 0.105 * std::log(f / 800) / std::log(1.5) - 0.055;
    return -0.05;
}

// Level of the crosstalk path, as a power of ten.
double CrosstalkExponent(double f)
{
    if (f < 100)
        return 0;
    if (f < 600)
        return -0.1 * std::log(f / 100) / std::log(6.0);
    if (f < 1000)
        return -0.1 - 0.25 * std::log(f / 600) / std::log(1.6666666666666667);
    if (f < 4000)
        return -0.35 - 0.15 * std::log(f / 1000) / std::log(4.0);
    if (f < 7000)
        return -0.5 - 0.5 * std::log(f / 4000) / std::log(1.75);
    return -1;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

TSimDialog::TSimDialog(THost& host, TImpResponse& window, const TGeneral& general)
    : TDialogModel(host, "Filter music", TImpResponse::kMusicHelp), window_(window), general_(general),
      n_(SafeTransformSize(general)), fft_(n_), sine_(static_cast<std::size_t>(n_)),
      frame_(static_cast<std::size_t>(n_)), filter_(static_cast<std::size_t>(n_)),
      crosstalk_(static_cast<std::size_t>(n_)), overlap_(static_cast<std::size_t>(n_)), work_(n_),
      in_(static_cast<std::size_t>(n_)), out_(static_cast<std::size_t>(n_))
{
    menuCommand = kCommand;
    KeepPositionIn(window.musicDialogX, window.musicDialogY);
    for (std::size_t j = 0; j < sine_.size(); ++j)
        sine_[j] = std::sin(static_cast<double>(j) * kPi / (n_ - 1));

    // The settings apply when a run starts, so they are greyed while one goes.
    const auto idle = [this] { return state_ == TState::Idle; };
    Group("Infile");
    AddFileName(kInName, window.musicInput.initialName);
    AddButton(kInBrowse, "Browse").EnabledIf(idle);
    Group("Outfile");
    AddFileName(kOutName, window.musicOutput.initialName);
    AddButton(kOutBrowse, "Browse").EnabledIf(idle);
    Group("");
    AddField(kScale, kScaleInfo, BindMember(window.musicScale)).EnabledIf(idle);
    AddField(kTime, kTimeInfo, {.read = [this] { return elapsed_; }});
    AddField(kHrtf, kHrtfInfo, BindMember(window.musicHrtf)).EnabledIf(idle);
    AddText(kStatus, "");
    Field(kStatus).text.reserve(96); // the overflow report is written in place
    AddButton(kStartStop, "Start", true);

    onCommand = [this](int id) {
        if (id == kInBrowse || id == kOutBrowse)
            Browse(id == kInBrowse);
        else if (id == kStartStop && state_ == TState::Idle)
            (void)Start();
        else if (id == kStartStop && state_ == TState::Running)
            RequestStop();
    };
    // A run does not outlive its window: its files are closed at once, a WAV complete.
    onClose = [this] {
        if (state_ != TState::Idle)
            EndRun(false);
    };
}

TSimDialog::~TSimDialog()
{
    // The reader and writer close their files (a WAV gets its sizes) as they go.
}

std::int16_t TSimDialog::ToSample(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<std::int16_t>(std::trunc(std::clamp(value, -kLargestSample, kLargestSample) + 0.5));
}

bool TSimDialog::IsOverflow(double left, double right)
{
    // NaN compares false: a damaged value is silence, not an overflow.
    return std::fabs(left) > kFullScale || std::fabs(right) > kFullScale;
}

std::string TSimDialog::ShownName(const std::string& name)
{
    if (name.empty())
        return kNotInUse;
    return name.size() > kShownNameLength ? name.substr(name.size() - kShownNameLength) : name;
}

void TSimDialog::AddFileName(int id, std::string& name)
{
    // Typing a name takes it as the chooser does; the shown text left as it is (a long
    // name shows only its end) is no new name.
    AddString(id, "File", 270)
        .Bind({.text = [&name] { return ShownName(name); }, .enabled = [this] { return state_ == TState::Idle; }})
        .OnChange([this, &name](TField& f) {
            const std::string typed = Trimmed(f.str.Text());
            if (typed == ShownName(name))
                return;
            name = typed == kNotInUse ? std::string() : typed;
            Reload();
        });
}

void TSimDialog::Browse(bool input)
{
    TFileRequest& request = input ? window_.musicInput : window_.musicOutput;
    std::string path;
    const bool chosen = input ? Host().ChooseOpenFile(request, path) : Host().ChooseSaveFile(request, path);
    if (!chosen)
        return;
    request.initialName = path;
    Reload();
}

bool TSimDialog::Setup()
{
    if (general_.DisableIfft()) {
        Host().Message("Impulse reponse must be enabled for this feature", "Impulse response disabled", TMsgButtons::Ok,
                       TMsgIcon::Warning);
        if (IsOpen())
            Close();
        return false;
    }
    Open();
    return true;
}

bool TSimDialog::Start()
{
    if (state_ != TState::Idle)
        return false;
    const std::string& input = window_.musicInput.initialName;
    const std::string& output = window_.musicOutput.initialName;
    // The input is checked before the output is made: a refused input, or an output
    // that is the input itself, leaves every file as it was.
    if (!reader_.Open(input)) {
        Host().Message(reader_.RefusalText(input), "", TMsgButtons::Ok,
                       reader_.Refusal() == TSoundRefusal::CannotOpen ? TMsgIcon::None : TMsgIcon::Warning);
        return false;
    }
    if (SameFile(input, output)) {
        reader_.Close();
        Host().Message("The output file " + output + " is the input file.\nChoose another output file.", "",
                       TMsgButtons::Ok, TMsgIcon::Warning);
        return false;
    }
    fs_ = reader_.Kind() == TSoundKind::Wav ? reader_.Rate() : general_.SampleRate();
    if (!(fs_ > 0))
        fs_ = 44100;
    if (!writer_.Create(output, static_cast<std::uint32_t>(fs_))) {
        reader_.Close();
        Host().Message("Can not open file " + output + " for writing", "", TMsgButtons::Ok, TMsgIcon::None);
        return false;
    }

    BuildFilter();
    std::fill(frame_.begin(), frame_.end(), TComplex{});
    std::fill(overlap_.begin(), overlap_.end(), TComplex{});
    std::fill(out_.begin(), out_.end(), std::int16_t{0});
    writeFailed_ = !writer_.Write(out_.data(), out_.size());

    SetText(kStartStop, "Stop");
    state_ = TState::Running;
    Field(kStatus).text.clear();
    overflows_ = 0;
    largestMagnitude_ = 0;
    largestOverflow_ = -1;
    elapsed_ = 0;
    shownTenths_ = -1;
    firstBlock_ = true;
    if (IsOpen())
        Reload();
    PostStep();
    return true;
}

void TSimDialog::BuildFilter()
{
    TComplex* h = filter_.data();
    window_.SpectrumFor(n_, fs_, h);
    double energy = 0;
    for (int i = 0; i < n_; ++i)
        energy += std::norm(h[i]);
    energy /= n_;
    // Scaled to unit energy: a flat response becomes 1 / N, which the unscaled transform
    // pair turns back into the input. A silent response stays silent.
    const double gain = std::pow(10.0, 0.05 * window_.musicScale) / (n_ * std::sqrt(energy));
    for (int i = 0; i < n_; ++i)
        h[i] = energy > 0 && std::isfinite(gain) ? h[i] * gain : TComplex{};

    std::fill(crosstalk_.begin(), crosstalk_.end(), TComplex{});
    if (!window_.musicHrtf)
        return;
    const double shapingBase = std::pow(10.0, -0.05);
    for (int k = 1; k < n_ / 2; ++k) {
        const double f = k * fs_ / n_;
        const double shaping = shapingBase * std::pow(10.0, ShapingExponent(f));
        h[k] *= shaping;
        h[n_ - k] *= shaping;
        const double phi = -0.0003823529411764706 * f * kTwoPi;
        const TComplex c = std::pow(10.0, CrosstalkExponent(f)) * TComplex(std::cos(phi), std::sin(phi));
        crosstalk_[static_cast<std::size_t>(k)] = c;
        crosstalk_[static_cast<std::size_t>(n_ - k)] = std::conj(c);
    }
}

void TSimDialog::RequestStop()
{
    if (state_ != TState::Running)
        return;
    SetText(kStartStop, "Start");
    state_ = TState::Stopping;
    if (IsOpen())
        Reload();
}

void TSimDialog::PostStep()
{
    if (stepPosted_)
        return;
    stepPosted_ = true;
    Host().PostDeferred([this, token = LifeToken()] {
        if (token.expired())
            return;
        stepPosted_ = false;
        Step();
    });
}

void TSimDialog::Step()
{
    if (state_ == TState::Running) {
        ProcessBlock();
        if (onBlock)
            onBlock();
        PostStep();
    } else if (state_ == TState::Stopping) {
        EndRun(true);
    }
}

void TSimDialog::ProcessBlock()
{
    const std::size_t n = static_cast<std::size_t>(n_), half = n / 2;
    const std::size_t read = reader_.Read(in_.data(), n);
    if (read < n)
        state_ = TState::Stopping; // the last block

    // The newest half block moves down; the frames read fill the upper half, and a
    // half frame at the very end gets a silent right channel.
    std::copy(frame_.begin() + static_cast<std::ptrdiff_t>(half), frame_.end(), frame_.begin());
    for (std::size_t e = 0; e < half; ++e) {
        const double left = 2 * e < read ? in_[2 * e] : 0.0;
        const double right = 2 * e + 1 < read ? in_[2 * e + 1] : 0.0;
        frame_[half + e] = TComplex(left, right);
    }

    TComplex* w = work_.data();
    for (std::size_t i = 0; i < n; ++i)
        w[i] = frame_[i] * sine_[i];
    fft_.transform(work_, work_, false);
    for (std::size_t i = 0; i < n; ++i)
        w[i] = MulComplex(w[i], filter_[i]);
    if (window_.musicHrtf) {
        for (std::size_t k = 1; k < half; ++k) {
            const TComplex a = w[k], b = w[n - k];
            w[k] = a - MulComplex(crosstalk_[k], std::conj(b));
            w[n - k] = b + MulComplex(crosstalk_[n - k], std::conj(a));
        }
    }
    fft_.transform(work_, work_, true);
    for (std::size_t i = 0; i < n; ++i)
        w[i] *= sine_[i];
    for (std::size_t u = 0; u < half; ++u) {
        overlap_[u] = overlap_[half + u] + w[u];
        overlap_[half + u] = w[half + u];
    }

    // Saturation at +-32767: a sample never wraps. The count takes frames whose larger
    // channel passes full scale itself.
    for (std::size_t u = 0; u < half; ++u) {
        const double left = overlap_[u].real(), right = overlap_[u].imag();
        if (IsOverflow(left, right)) {
            ++overflows_;
            largestMagnitude_ = std::fmax(largestMagnitude_, std::fmax(std::fabs(left), std::fabs(right)));
        }
        out_[2 * u] = ToSample(left);
        out_[2 * u + 1] = ToSample(right);
    }
    if (firstBlock_)
        std::fill(out_.begin(), out_.end(), std::int16_t{0});
    if (read > 0 && !writer_.Write(out_.data(), read)) {
        writeFailed_ = true;
        state_ = TState::Stopping;
    }

    elapsed_ += static_cast<double>(read) * 0.5 / fs_;
    Field(kTime).dbl.SetValue(elapsed_);
    if (overflows_ > 0) {
        const double d = 20 * std::log10(largestMagnitude_ * 0.000030517578125);
        largestOverflow_ = std::max(largestOverflow_, d);
        ShowStatus();
    }
    firstBlock_ = false;
    // The view follows when the shown time moves on (a tenth of a second), not at every
    // block: a short block is over long before anyone could read it.
    const auto tenths = static_cast<std::int64_t>(elapsed_ * 10);
    if (IsOpen() && tenths != shownTenths_) {
        shownTenths_ = tenths;
        Host().RefreshDialog(*this);
    }
}

void TSimDialog::ShowStatus()
{
    char text[96];
    std::snprintf(text, sizeof text, "Overflow %d time(s), max = %f dBOV", static_cast<int>(overflows_),
                  largestOverflow_);
    // Into the text's own storage: a block allocates nothing, the report included.
    Field(kStatus).text.assign(text);
}

void TSimDialog::EndRun(bool ready)
{
    reader_.Close();
    const bool written = writer_.Finish() && !writeFailed_;
    writeFailed_ = !written;
    state_ = TState::Idle;
    SetText(kStartStop, "Start");
    if (IsOpen())
        Reload();
    if (!written)
        Host().Message("Can not write file " + window_.musicOutput.initialName +
                           "\nThe disk may be full (or a WAV file would pass 4 GB).",
                       "", TMsgButtons::Ok, TMsgIcon::Warning);
    else if (ready)
        Host().Message("Ready", "", TMsgButtons::Ok, TMsgIcon::Warning);
    if (onFinished)
        onFinished();
}
