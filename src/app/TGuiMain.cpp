#include "TGuiMain.h"

#include "TMainApp.h"
#include "TMainWindow.h"
#include "TScreenshot.h"
#include "core/TProgramFolder.h"
#include "settings/TProgramContext.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QStringList>
#include <QTimer>
#include <clocale>
#include <cstdio>

namespace {

struct TGuiOptions {
    QString screenshot;
    QStringList commands;
    QString project;
    bool ok = true;
};

TGuiOptions ParseOptions(const QStringList& args)
{
    TGuiOptions o;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--screenshot" && i + 1 < args.size())
            o.screenshot = args[++i];
        else if (a == "--command" && i + 1 < args.size())
            o.commands << args[++i];
        else if (a.startsWith("--")) {
            std::fprintf(stderr, "tonvek: unknown option %s\n", qPrintable(a));
            o.ok = false;
        } else if (o.project.isEmpty())
            o.project = a;
    }
    return o;
}

// A command named by its id or by its menu path ("File>Open...").
bool RunNamedCommand(TMainApp& app, const QString& name)
{
    bool isNumber = false;
    int id = name.toInt(&isNumber);
    if (!isNumber) {
        QAction* action = app.Window().ActionByPath(name);
        if (!action) {
            std::fprintf(stderr, "tonvek: no menu command \"%s\"\n", qPrintable(name));
            return false;
        }
        action->trigger();
        return true;
    }
    if (!app.Window().Trigger(id)) {
        std::fprintf(stderr, "tonvek: command %d is not available\n", id);
        return false;
    }
    return true;
}

} // namespace

int RunGui(int argc, char** argv)
{
    // What outlives projects: made first, gone last.
    TProgramContext context(TProgramFolder::FolderOfExecutable(argc > 0 ? argv[0] : nullptr));
    QApplication qapp(argc, argv);
    // Qt hands the user's locale to the C library as well; the engine prints numbers
    // with printf, and axis labels, reports and files always use a ".".
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Tonvek");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");

    TGuiOptions options = ParseOptions(QApplication::arguments());
    if (!options.ok)
        return 2;

    TMainApp app(context);
    TMainApp::StartOptions start;
    start.project = options.project;
    start.startScreen = options.screenshot.isEmpty();
    app.Start(start);
    if (options.screenshot.isEmpty())
        return QApplication::exec();

    // Picture mode: run the commands once the window is up, save and leave.
    int status = 0;
    bool pictured = false;
    auto picture = [&] {
        pictured = true;
        if (!TScreenshot::Save(app, options.screenshot)) {
            std::fprintf(stderr, "tonvek: could not write %s\n", qPrintable(options.screenshot));
            status = 1;
        }
    };
    // A command that opens a modal window (a message, a file chooser, a text input)
    // waits for an answer nobody gives here: the first one is pictured, then every
    // modal window is cancelled so the run goes on.
    QTimer watchdog;
    watchdog.setInterval(200);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (!pictured)
            picture();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    });
    QTimer::singleShot(0, &app, [&] {
        watchdog.start();
        for (const QString& c : options.commands)
            if (!RunNamedCommand(app, c))
                status = 1;
        QApplication::processEvents();
        watchdog.stop();
        if (!pictured)
            picture();
        QApplication::exit(status);
    });
    QApplication::exec();
    return status;
}
