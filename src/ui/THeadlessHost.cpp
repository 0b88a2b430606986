#include "THeadlessHost.h"

#include "TRecordingCanvas.h"

#include <algorithm>

namespace {
TMsgAnswer FirstButton(TMsgButtons buttons)
{
    switch (buttons) {
    case TMsgButtons::Ok:
    case TMsgButtons::OkCancel: return TMsgAnswer::Ok;
    case TMsgButtons::YesNo:
    case TMsgButtons::YesNoCancel: return TMsgAnswer::Yes;
    case TMsgButtons::RetryCancel: return TMsgAnswer::Retry;
    }
    return TMsgAnswer::Ok;
}
} // namespace

TMsgAnswer THeadlessHost::Message(const std::string& text, const std::string& title, TMsgButtons buttons,
                                  TMsgIcon icon)
{
    TMsgAnswer answer = FirstButton(buttons);
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    messages_.push_back({text, title, buttons, icon, answer});
    return answer;
}

void THeadlessHost::MessageWithCheckBox(const std::string& text, const std::string& title, const std::string&,
                                        bool& checked)
{
    if (!checks_.empty()) {
        checked = checks_.front();
        checks_.pop_front();
    }
    messages_.push_back({text, title, TMsgButtons::Ok, TMsgIcon::None, TMsgAnswer::Ok});
}

bool THeadlessHost::InputText(const std::string&, const std::string&, std::string& value, int maxLength)
{
    if (inputs_.empty() || !inputs_.front()) {
        if (!inputs_.empty())
            inputs_.pop_front();
        return false;
    }
    value = *inputs_.front();
    inputs_.pop_front();
    if (maxLength > 0 && static_cast<int>(value.size()) > maxLength)
        value.resize(static_cast<std::size_t>(maxLength));
    return true;
}

bool THeadlessHost::ChooseOpenFile(const TFileRequest& request, std::string& path)
{
    fileRequests_.push_back(request);
    if (fileNames_.empty())
        return false;
    auto next = fileNames_.front();
    fileNames_.pop_front();
    if (!next)
        return false;
    path = *next;
    return true;
}

bool THeadlessHost::ChooseSaveFile(const TFileRequest& request, std::string& path)
{
    return ChooseOpenFile(request, path);
}

bool THeadlessHost::PrintPages(const std::string& jobName, int pageCount, const TPagePainter& painter)
{
    if (!printConfirmed_)
        return false;
    for (int page = 0; page < pageCount; ++page) {
        TCanvas* canvas = printCanvas_ ? printCanvas_(page) : nullptr;
        TRecordingCanvas recording(2480, 3508); // an A4 page at 300 dpi
        painter(canvas ? *canvas : recording, page);
    }
    printJobs_.push_back({jobName, pageCount});
    return true;
}

bool THeadlessHost::CopyViewPicture(TWindowModel& window)
{
    TRecordingCanvas canvas;
    window.Paint(canvas);
    ++picturesCopied_;
    return true;
}

void THeadlessHost::CreateView(TWindowModel& window)
{
    if (!HasView(window))
        views_.push_back(&window);
}

void THeadlessHost::DestroyView(TWindowModel& window)
{
    if (active_ == &window)
        active_ = nullptr;
    views_.erase(std::remove(views_.begin(), views_.end(), &window), views_.end());
}

void THeadlessHost::ShowView(TWindowModel& window)
{
    CreateView(window);
    active_ = &window;
    if (window.placement.show == TShowState::Hidden || window.placement.show == TShowState::Minimised)
        window.placement.show = TShowState::Normal;
}

void THeadlessHost::HideView(TWindowModel& window) { window.placement.show = TShowState::Hidden; }

bool THeadlessHost::IsViewMinimised(const TWindowModel& window) const
{
    return window.placement.show == TShowState::Minimised || window.placement.show == TShowState::Hidden;
}

void THeadlessHost::ViewClientSize(const TWindowModel& window, int& width, int& height) const
{
    const TRect& r = window.placement.restored;
    if (window.placement.show == TShowState::Normal && r.Width() > 0 && r.Height() > 0) {
        width = r.Width();
        height = r.Height();
    } else {
        width = viewWidth_;
        height = viewHeight_;
    }
}

void THeadlessHost::ShowDialog(TDialogModel& dialog)
{
    if (!IsDialogOpen(dialog))
        dialogs_.push_back(&dialog);
}

void THeadlessHost::CloseDialog(TDialogModel& dialog)
{
    dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), &dialog), dialogs_.end());
}

bool THeadlessHost::IsDialogOpen(const TDialogModel& dialog) const
{
    return std::find(dialogs_.begin(), dialogs_.end(), &dialog) != dialogs_.end();
}

int THeadlessHost::RunDeferred(int maxSteps)
{
    int ran = 0;
    while (!deferred_.empty() && ran < maxSteps) {
        auto step = std::move(deferred_.front());
        deferred_.pop_front();
        step();
        ++ran;
    }
    return ran;
}

std::optional<bool> THeadlessHost::CommandEnabled(int id) const
{
    auto it = commandEnabled_.find(id);
    if (it == commandEnabled_.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> THeadlessHost::CommandText(int id) const
{
    auto it = commandText_.find(id);
    if (it == commandText_.end())
        return std::nullopt;
    return it->second;
}

bool THeadlessHost::HasView(const TWindowModel& window) const
{
    return std::find(views_.begin(), views_.end(), &window) != views_.end();
}

int THeadlessHost::Redraws(const TWindowModel& window) const
{
    auto it = redraws_.find(&window);
    return it == redraws_.end() ? 0 : it->second;
}
