// tonvek-cli music: runs a sound file through a filter project with the filter-music
// dialog, as a user fills it in and presses "Start"; the idle steps run one after the
// other. Progress goes to stderr, the sound file is the result.

#include "CliFields.h"
#include "TCliCommand.h"
#include "TCliHost.h"

#include "core/TBinaryStream.h"
#include "filter/TXover.h"
#include "settings/TProgramContext.h"
#include "timedomain/TSimDialog.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char* kUsage = "music PROJECT.flt IN.wav|IN.pcm -o OUT.wav|OUT.pcm [--scale DB] [--hrtf]";

std::string Absolute(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

int RunMusic(TProgramContext& context, const TCliArgs& args)
{
    std::string project, input, output, scale;
    bool hrtf = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            output = args[++i];
        else if (args[i] == "--scale" && i + 1 < args.size())
            scale = args[++i];
        else if (args[i] == "--hrtf")
            hrtf = true;
        else if (project.empty())
            project = args[i];
        else if (input.empty())
            input = args[i];
        else
            return CliFail("music: unexpected argument \"" + args[i] + "\"");
    }
    if (project.empty() || input.empty() || output.empty())
        return CliFail(std::string("music: ") + kUsage);

    const std::string path = Absolute(project);
    TBinaryReader head;
    std::int32_t code = -1;
    if (!head.Open(path, sizeof code) || !head.ReadInt32(code))
        return CliFail("cannot open project " + path);
    const int kind = TXover::KindOfTypeCode(code);
    if (kind < 0)
        return CliFail(path + " is not a filter project (type code " + std::to_string(code) + ")");
    TCliHost host;
    TXover xover(host, context, kind);
    if (!xover.Load(path))
        return CliFail("Error while reading filter data. The project file is corrupt: " + path);

    // The dialog as a user opens it; "Disable IFFT" refuses with its message.
    TSimDialog* dialog = xover.OpenMusicDialog();
    if (!dialog || !dialog->IsOpen())
        return CliFail("music: the filter music dialog did not open");
    std::vector<std::string> assignments = {"Infile:File=" + Absolute(input), "Outfile:File=" + Absolute(output),
                                            std::string("Simulate HRTF=") + (hrtf ? "on" : "off")};
    if (!scale.empty())
        assignments.push_back("Scale=" + scale);
    for (const std::string& a : assignments)
        if (std::string error = AssignField({dialog}, host, a, project); !error.empty())
            return CliFail("music: " + error);

    // On a terminal one line counts on; elsewhere only the closing lines are written.
    const bool terminal = ::isatty(::fileno(stderr)) != 0;
    double shown = 0;
    dialog->onBlock = [&] {
        if (terminal && dialog->Elapsed() >= shown + 1) {
            shown = dialog->Elapsed();
            std::fprintf(stderr, "\rmusic: %.0f s", shown);
        }
    };
    dialog->Press(TSimDialog::kStartStop);
    if (dialog->State() == TSimDialog::TState::Idle)
        return 1; // the refusal was written by the host
    while (dialog->State() != TSimDialog::TState::Idle && host.RunDeferred(4096) > 0) {
    }
    if (terminal)
        std::fprintf(stderr, "\r");
    std::fprintf(stderr, "music: %.1f s written to %s (N = %d, %.0f Hz)\n", dialog->Elapsed(), output.c_str(),
                 dialog->TransformSize(), dialog->SampleRate());
    const std::string& report = dialog->Field(TSimDialog::kStatus).text;
    if (!report.empty())
        std::fprintf(stderr, "music: %s; the output is clipped there (--scale lowers the level)\n", report.c_str());
    return dialog->WriteFailed() ? 1 : 0;
}

TCliRegistration reg{"music", kUsage, RunMusic};

} // namespace
