#pragma once
// The desktop program: the main window, its Qt host, the shell that owns the project,
// and the commands the frame handles itself (window arrangement, About, New instance).
// The program's context (measurement setup, general settings, program folder) is made
// by whoever makes the application (RunGui, a test) and outlives it.

#include <QObject>
#include <QString>
#include <memory>

class QtHost;
class TMainWindow;
class TShell;
class TProgramContext;
class TRecentProjects;
class QTimer;

class TMainApp : public QObject {
    Q_OBJECT
public:
    explicit TMainApp(TProgramContext& context);
    ~TMainApp() override;

    TMainWindow& Window() const { return *window_; }
    QtHost& Host() const { return *host_; }
    TShell& Shell() const { return *shell_; }
    TProgramContext& Context() const { return context_; }

    struct StartOptions {
        QString project;        // opened without a question
        bool startScreen = true;
    };
    // Shows the window, reads "tonvek.cfg", installs the out-of-memory handler and
    // opens the project when one is named.
    void Start(const StartOptions& options);
    bool RunCommand(int id);
    bool CommandAvailable(int id) const;

private:
    bool FrameCommand(int id);
    bool CloseRequested();
    // After an accepted close: the project, its tool windows and the event loop end.
    void EndProgram();
    void About();
    void ArrangeIcons();
    // "[*]" marker, Ctrl+N's type and the recent list follow the open project.
    void FollowProject();
    void OpenRecent(const QString& path);
    void SetRecent(const TRecentProjects& recent);

    TProgramContext& context_;
    std::unique_ptr<TMainWindow> window_;
    std::unique_ptr<QtHost> host_;
    std::unique_ptr<TShell> shell_;
    QTimer* follow_ = nullptr;
};
