#pragma once
// The multiple-document frame: one QAction per command id, the menu bars switched
// by menu number, and the MDI client area holding the project's child windows.
// What a command does is decided by the command handler (the shell).

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <vector>

class QAction;
class QMdiArea;
class QMenu;
struct TMenuItem;

class TMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainWindow(QWidget* parent = nullptr);

    QMdiArea* MdiArea() const { return mdi_; }

    // Runs a command; false when no handler took it.
    using CommandHandler = std::function<bool(int id)>;
    void SetCommandHandler(CommandHandler handler) { handler_ = std::move(handler); }
    // Asked before the window closes; false keeps it open.
    using CloseGuard = std::function<bool()>;
    void SetCloseGuard(CloseGuard guard) { closeGuard_ = std::move(guard); }

    void SwitchMenu(int menu);
    // Undoes RemoveCommand for every command (a project was closed).
    void RestoreRemovedCommands();
    // Re-reads which commands are built and enabled.
    void RefreshAvailability();
    int CurrentMenu() const { return menu_; }
    void EnableCommand(int id, bool enabled);
    void RemoveCommand(int id);
    void SetCommandText(int id, const QString& text);
    void CheckCommand(int id, bool checked);
    QAction* Action(int id) const;
    // An action by its menu path, the texts without "&" joined by ">", or nullptr.
    QAction* ActionByPath(const QString& path) const;
    bool Trigger(int id);

    // The File menu's "Recent projects", newest first; choosing one calls onOpenRecent.
    void SetRecentProjects(const QStringList& paths);
    std::function<void(const QString&)> onOpenRecent;
    QMenu* RecentMenu() const { return recentMenu_; }
    // Ctrl+N makes a new project of this type (the open one's, closed box without one).
    void SetNewShortcutType(int typeCode);

    // Commands the handler does not implement yet stay visible and disabled.
    using Availability = std::function<bool(int id)>;
    void SetAvailability(Availability available) { available_ = std::move(available); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void AddItems(QMenu* menu, const std::vector<TMenuItem>& items, const QString& path);
    QAction* ActionFor(const TMenuItem& item);
    void BuildRecentMenu();

    QMdiArea* mdi_;
    std::map<int, QAction*> actions_;
    std::vector<QMenu*> menus_;
    std::map<QString, QAction*> byPath_;
    std::map<int, bool> enabled_;
    // Commands a project removed, hidden also when their menu is built after the removal.
    std::set<int> removed_;
    CommandHandler handler_;
    CloseGuard closeGuard_;
    Availability available_;
    int menu_ = 0;
    QStringList recent_;
    QMenu* recentMenu_ = nullptr;
    int newShortcutType_ = 0;
};
