#pragma once
// A host without a window system: every message is recorded, answers and chosen file
// names come from a script, window views are kept as states and painted on request.
// Used by the engine tests and by tonvek-cli.

#include "THost.h"
#include "TWindowModel.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct TRecordedMessage {
    std::string text;
    std::string title;
    TMsgButtons buttons;
    TMsgIcon icon;
    TMsgAnswer answer;
};

struct TPrintJob {
    std::string name;
    int pages = 0;
};

class THeadlessHost : public THost {
public:
    // Script: the next answers and file names, used in order. Without a scripted
    // answer a message is answered with its first button (Ok, Yes or Retry).
    void QueueAnswer(TMsgAnswer answer) { answers_.push_back(answer); }
    // An empty optional means "cancelled".
    void QueueFileName(std::optional<std::string> path) { fileNames_.push_back(std::move(path)); }
    void QueueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
    // Whether print dialogs are confirmed (default) or cancelled.
    void SetPrintConfirmed(bool confirmed) { printConfirmed_ = confirmed; }
    // Optional canvas for printed pages, e.g. a PDF writer in tonvek-cli.
    void SetPrintCanvas(std::function<TCanvas*(int page)> canvasForPage) { printCanvas_ = std::move(canvasForPage); }

    TMsgAnswer Message(const std::string& text, const std::string& title, TMsgButtons buttons,
                       TMsgIcon icon) override;
    void Beep() override { ++beeps_; }
    void MessageWithCheckBox(const std::string& text, const std::string& title, const std::string& checkText,
                             bool& checked) override;
    // The state a check box message is closed with (next in the queue, else unchanged).
    void QueueCheckBox(bool checked) { checks_.push_back(checked); }
    bool InputText(const std::string& title, const std::string& prompt, std::string& value,
                   int maxLength) override;
    bool ChooseOpenFile(const TFileRequest& request, std::string& path) override;
    bool ChooseSaveFile(const TFileRequest& request, std::string& path) override;
    void BeginWait() override { ++waitDepth_; }
    void EndWait() override { if (waitDepth_ > 0) --waitDepth_; }
    void EnableCommand(int id, bool enabled) override { commandEnabled_[id] = enabled; }
    void RemoveCommand(int id) override { removed_.push_back(id); }
    void RestoreRemovedCommands() override { removed_.clear(); }
    const std::vector<int>& RemovedCommands() const { return removed_; }
    void SetCommandText(int id, const std::string& text) override { commandText_[id] = text; }
    void CheckCommand(int id, bool checked) override { commandChecked_[id] = checked; }
    void SwitchMenu(int menu) override { menu_ = menu; }
    void SetMainTitle(const std::string& title) override { title_ = title; }
    void PostDeferred(std::function<void()> step) override { deferred_.push_back(std::move(step)); }
    void OpenHelp(const std::string& fileName) override { helpOpened_.push_back(fileName); }
    bool StartNewInstance() override { ++instancesStarted_; return true; }
    bool PrintPages(const std::string& jobName, int pageCount, const TPagePainter& painter) override;
    bool SetClipboardText(const std::string& text) override { clipboardText_ = text; return true; }
    bool CopyViewPicture(TWindowModel& window) override;
    void CreateView(TWindowModel& window) override;
    void DestroyView(TWindowModel& window) override;
    void ShowView(TWindowModel& window) override;
    void HideView(TWindowModel& window) override;
    void RedrawView(TWindowModel& window) override { ++redraws_[&window]; }
    bool IsViewMinimised(const TWindowModel& window) const override;
    TWindowModel* ActiveView() const override { return active_; }
    // The view a test makes active (ShowView makes the shown one active too).
    void SetActiveView(TWindowModel* window) { active_ = window; }
    void ViewClientSize(const TWindowModel& window, int& width, int& height) const override;
    void ShowDialog(TDialogModel& dialog) override;
    void CloseDialog(TDialogModel& dialog) override;
    void RefreshDialog(TDialogModel& dialog) override { ++dialogRefreshes_[&dialog]; }
    // Headless, a field window is its source alone.
    std::unique_ptr<TFieldView> CreateFieldView(TFieldSource&) override { return nullptr; }

    // Runs the posted steps until none is left or maxSteps ran; returns how many ran.
    int RunDeferred(int maxSteps = 1000000);

    // What happened
    const std::vector<TRecordedMessage>& Messages() const { return messages_; }
    const TRecordedMessage* LastMessage() const { return messages_.empty() ? nullptr : &messages_.back(); }
    void ClearMessages() { messages_.clear(); }
    int Beeps() const { return beeps_; }
    int WaitDepth() const { return waitDepth_; }
    std::optional<bool> CommandEnabled(int id) const;
    std::optional<std::string> CommandText(int id) const;
    int Menu() const { return menu_; }
    const std::string& MainTitle() const { return title_; }
    const std::vector<std::string>& HelpOpened() const { return helpOpened_; }
    int InstancesStarted() const { return instancesStarted_; }
    const std::vector<TPrintJob>& PrintJobs() const { return printJobs_; }
    const std::string& ClipboardText() const { return clipboardText_; }
    int PicturesCopied() const { return picturesCopied_; }
    const std::vector<TFileRequest>& FileRequests() const { return fileRequests_; }
    const std::vector<TWindowModel*>& Views() const { return views_; }
    bool HasView(const TWindowModel& window) const;
    int Redraws(const TWindowModel& window) const;
    const std::vector<TDialogModel*>& Dialogs() const { return dialogs_; }
    bool IsDialogOpen(const TDialogModel& dialog) const;
    // Client size used for views whose placement is not normal or maximised.
    void SetViewSize(int width, int height) { viewWidth_ = width; viewHeight_ = height; }

private:
    std::vector<TRecordedMessage> messages_;
    std::deque<TMsgAnswer> answers_;
    std::deque<std::optional<std::string>> fileNames_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<bool> checks_;
    std::deque<std::function<void()>> deferred_;
    std::vector<TFileRequest> fileRequests_;
    std::map<int, bool> commandEnabled_;
    std::map<int, bool> commandChecked_;
    std::map<int, std::string> commandText_;
    std::vector<int> removed_;
    std::vector<std::string> helpOpened_;
    std::vector<TPrintJob> printJobs_;
    std::vector<TWindowModel*> views_;
    std::map<const TWindowModel*, int> redraws_;
    std::vector<TDialogModel*> dialogs_;
    std::map<const TDialogModel*, int> dialogRefreshes_;
    std::function<TCanvas*(int)> printCanvas_;
    TWindowModel* active_ = nullptr;
    std::string clipboardText_;
    std::string title_;
    int beeps_ = 0;
    int waitDepth_ = 0;
    int menu_ = 0;
    int instancesStarted_ = 0;
    int picturesCopied_ = 0;
    int viewWidth_ = 600;
    int viewHeight_ = 290;
    bool printConfirmed_ = true;
};
