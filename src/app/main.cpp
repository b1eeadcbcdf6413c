// The desktop program: reads the options, opens the main window.
#include "app/MainWindow.h"
#include "app/PanelLauncher.h"
#include "panels/DigitalPanelWindow.h"
#include "platform/AppPaths.h"
#include "platform/CommandLine.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QIcon>

#include <iostream>

int main(int argc, char** argv)
{
    using namespace vantel;
    const CommandLine options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::cout << CommandLineHelp();
        return 0;
    }
    if (!options.error.empty() || !TextCodec::isSupported(options.codePage)) {
        std::cerr << (options.error.empty() ? "unknown code page: " + options.codePage : options.error) << "\n"
                  << CommandLineHelp();
        return 2;
    }
    SetFileCodec(options.codePage);

    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantel");
    QApplication::setWindowIcon(QIcon(":/vantel.png"));

    const AppPaths paths = DefaultAppPaths();
    UnitList list(options.listFile.empty() ? paths.listFile : options.listFile);
    AppState state;
    state.commandLineTimeoutMs = options.timeoutMs;

    std::vector<Adapter> adapters = ListAdapters();
    if (options.demo)
        adapters.insert(adapters.begin(), LoopbackAdapter());

    MainWindow window(list, state, paths.logFolder);
    PanelLauncher launcher(state, [&](UnitRecord& record, const ConnectRequest& request) {
        DigitalPanelWindow::open(list, state, record, request);
    });
    window.logic().setConnector(&launcher);
    if (!window.start(std::move(adapters)))
        return 1;
    window.show();
    const int exitCode = QApplication::exec();
    // A panel abandoned at shutdown still runs its threads against the unit
    // list: stop it before the list goes.
    for (QWidget* topLevel : QApplication::topLevelWidgets())
        if (auto* panelWindow = dynamic_cast<PanelWindow*>(topLevel))
            delete panelWindow;
    return exitCode;
}
