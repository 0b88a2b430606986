#pragma once
// The desktop program: the main window, its Qt host and the commands the frame
// handles itself. Start() runs everything a start needs; tests create one directly.

#include <QObject>
#include <QString>
#include <memory>

class QtHost;
class TMainWindow;

class TMainApp : public QObject {
    Q_OBJECT
public:
    TMainApp();
    ~TMainApp() override;

    TMainWindow& Window() const { return *window_; }
    QtHost& Host() const { return *host_; }

    // Shows the window; opens the project when one is named.
    void Start(const QString& project);
    bool RunCommand(int id);
    bool CommandAvailable(int id) const;

private:
    void About();

    std::unique_ptr<TMainWindow> window_;
    std::unique_ptr<QtHost> host_;
};

// The title of the main window without a project.
inline constexpr const char* kMainTitle = "Tonvek 4.10 Beta ";
