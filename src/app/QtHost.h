#pragma once
// THost with real widgets: message boxes, file dialogs, MDI children, the print
// dialog and the clipboard. Help texts and stored names are found through the program
// folder (the context's; it outlives the host).

#include "ui/THost.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <map>

class QMdiArea;
class QWidget;
class TMainWindow;
class TModelSubWindow;
class TProgramFolder;

class QtHost : public THost {
public:
    QtHost(TMainWindow& window, const TProgramFolder& folder);
    ~QtHost() override;

    TMsgAnswer Message(const std::string& text, const std::string& title, TMsgButtons buttons,
                       TMsgIcon icon) override;
    void Beep() override;
    void MessageWithCheckBox(const std::string& text, const std::string& title, const std::string& checkText,
                             bool& checked) override;
    bool InputText(const std::string& title, const std::string& prompt, std::string& value,
                   int maxLength) override;
    bool ChooseOpenFile(const TFileRequest& request, std::string& path) override;
    bool ChooseSaveFile(const TFileRequest& request, std::string& path) override;
    void BeginWait() override;
    void EndWait() override;
    void EnableCommand(int id, bool enabled) override;
    void RemoveCommand(int id) override;
    void SetCommandText(int id, const std::string& text) override;
    void CheckCommand(int id, bool checked) override;
    void SwitchMenu(int menu) override;
    void RestoreRemovedCommands() override;
    void SetMainTitle(const std::string& title) override;
    void PostDeferred(std::function<void()> step) override;
    void OpenHelp(const std::string& fileName) override;
    bool StartNewInstance() override;
    bool PrintPages(const std::string& jobName, int pageCount, const TPagePainter& painter) override;
    bool SetClipboardText(const std::string& text) override;
    bool CopyViewPicture(TWindowModel& window) override;
    void CreateView(TWindowModel& window) override;
    void DestroyView(TWindowModel& window) override;
    void ShowView(TWindowModel& window) override;
    void HideView(TWindowModel& window) override;
    void RedrawView(TWindowModel& window) override;
    bool IsViewMinimised(const TWindowModel& window) const override;
    TWindowModel* ActiveView() const override;
    void ViewClientSize(const TWindowModel& window, int& width, int& height) const override;
    void ShowDialog(TDialogModel& dialog) override;
    void CloseDialog(TDialogModel& dialog) override;
    void RefreshDialog(TDialogModel& dialog) override;
    // A TCursorView, a tool window of the main window.
    std::unique_ptr<TFieldView> CreateFieldView(TFieldSource& source) override;

    TModelSubWindow* SubWindowOf(const TWindowModel& window) const;
    // The open dialog views, for pictures of the whole program.
    std::vector<QWidget*> DialogWidgets() const;

    // The folder of the open project, where bare names and empty choosers start.
    std::function<std::string()> projectFolder;
    static QString StartPath(const TProgramFolder& folder, const TFileRequest& request, const QString& projectFolder,
                             const QString& lastFolder);

    // Converts the "Name|*.ext|..." filter form to Qt's "Name (*.ext);;..." form.
    static QString QtFilter(const std::string& filter);

private:
    QString InitialPath(const TFileRequest& request) const;
    void NoteChosen(const QString& path);

    TMainWindow& window_;
    const TProgramFolder& folder_;
    QString lastFolder_;
    std::map<const TWindowModel*, QPointer<TModelSubWindow>> views_;
    std::map<const TDialogModel*, QPointer<QWidget>> dialogs_;
    std::vector<QPointer<QWidget>> helpViewers_;
};
