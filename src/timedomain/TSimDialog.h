#pragma once
// "Filter music": runs a stereo sound file (raw 16-bit PCM or 16-bit stereo WAV)
// through the filter project's current transfer function into another sound file, so
// a design can be listened to, optionally with a simple simulation of listening over
// two loudspeakers (level shaping and crosstalk, "Simulate HRTF").
//
// The filter is overlap-add in blocks of N samples (N / 2 stereo frames, left in the
// real and right in the imaginary part of one complex transform): each block holds the
// two latest half blocks, sine-windowed before the forward and after the inverse
// transform, so two overlapping squared windows add up to nearly 1. The output starts
// with N silent samples and a silenced first block: a sample comes out N frames later
// than it went in.
//
// A run is a chain of idle steps posted through THost::PostDeferred, one block each,
// so the window stays live; "Stop" is seen at the next step. Every array is sized when
// the dialog is made and the files are streamed, so a block allocates nothing and an
// input of any length is never held whole. The posted steps hold the dialog's life
// token: a step still queued when the dialog is gone does nothing. Closing the dialog
// ends a run at once (the files are closed, a WAV gets its sizes).
//
// The filter works at the input's own rate: a WAV's header rate, or the general
// settings' sample rate for raw PCM (which carries none). A WAV output keeps that rate.

#include "core/CVector.h"
#include "core/Rad2FFT.h"
#include "core/TComplex.h"
#include "timedomain/TSoundFile.h"
#include "ui/TDialogModel.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TGeneral;
class TImpResponse;

class TSimDialog : public TDialogModel {
public:
    static constexpr int kInName = 101, kStatus = 102, kOutName = 103, kTime = 104, kScale = 105, kStartStop = 107,
                         kOutBrowse = 108, kInBrowse = 109, kHrtf = 110;
    static constexpr int kCommand = 13101; // "Filter &music", disabled while the dialog is open
    static constexpr const char* kNotInUse = "Not in use";
    static constexpr std::size_t kShownNameLength = 43;

    enum class TState { Idle = 0, Running = 1, Stopping = 2 };

    // window keeps the settings and gives the spectrum; N is the general settings' N
    // now, kept for the dialog's life. Both must outlive the dialog.
    TSimDialog(THost& host, TImpResponse& window, const TGeneral& general);
    ~TSimDialog() override;

    // What the menu command does: under "Disable IFFT" the refusal message and false;
    // otherwise the dialog opens (or comes to the front).
    bool Setup();
    // "Start": opens both files and starts a run; false when one was refused (its
    // message shown, the state stays idle).
    bool Start();
    // "Stop": the run ends at the next idle step.
    void RequestStop();
    // One idle moment: a block while running, the end of the run while stopping.
    void Step();

    TState State() const { return state_; }
    int TransformSize() const { return n_; }
    // The rate the last run filtered at, Hz.
    double SampleRate() const { return fs_; }
    // Output frames whose larger channel passed 32768, and the largest of them in dBOV
    // (-1 before any).
    std::int32_t Overflows() const { return overflows_; }
    double LargestOverflow() const { return largestOverflow_; }
    // Seconds of output written in this run.
    double Elapsed() const { return elapsed_; }
    // Whether the last run ended on a file that could not be written.
    bool WriteFailed() const { return writeFailed_; }
    // One channel of an output frame: saturated at +-32767 (never wrapped), then
    // trunc(value + 0.5); what is not a number is silence.
    static std::int16_t ToSample(double value);
    // Whether an output frame counts as an overflow: its larger channel magnitude
    // passes 32768 (32767.5 is saturated but not counted).
    static bool IsOverflow(double left, double right);
    // The name as the file name fields show it: "Not in use" or the last 43 characters.
    static std::string ShownName(const std::string& name);

    // After every block (the command line's progress line) and after a run's end.
    std::function<void()> onBlock;
    std::function<void()> onFinished;

private:
    void AddFileName(int id, std::string& name);
    void Browse(bool input);
    void PostStep();
    void ProcessBlock();
    // Closes the files; ready: the "Ready" message of an ordinary end.
    void EndRun(bool ready);
    void BuildFilter();
    void ShowStatus();

    TImpResponse& window_;
    const TGeneral& general_;
    const int n_;
    Rad2FFT fft_;
    std::vector<double> sine_; // the window, sin(j pi / (N - 1))
    std::vector<TComplex> frame_, filter_, crosstalk_, overlap_;
    CVector work_; // the windowed block, its spectrum, its inverse transform
    std::vector<std::int16_t> in_, out_;
    TSoundReader reader_;
    TSoundWriter writer_;

    TState state_ = TState::Idle;
    double fs_ = 0;
    std::int32_t overflows_ = 0;
    double largestMagnitude_ = 0;
    double largestOverflow_ = -1;
    double elapsed_ = 0;
    std::int64_t shownTenths_ = -1; // the elapsed time the view shows, in tenths of a second
    bool firstBlock_ = true;
    bool writeFailed_ = false;
    bool stepPosted_ = false;
};
