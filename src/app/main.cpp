// The desktop program: reads the options, opens the main window.
#include "app/AppTexts.h"
#include "app/ConnectingDialog.h"
#include "app/MainWindow.h"
#include "app/PanelLauncher.h"
#include "comm/link/FileTrace.h"
#include "graph/LogViewerWindow.h"
#include "panels/digital/DigitalPanelWindow.h"
#include "panels/framework/ContainerWindow.h"
#include "platform/AppPaths.h"
#include "platform/CommandLine.h"
#include "platform/ListLock.h"
#include "platform/PlatformTexts.h"
#include "platform/TextCodec.h"
#include "platform/UdpSocket.h"
#include "platform/VersionText.h"
#include "search/DiscoveryDatagrams.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <iostream>

int main(int argc, char** argv)
{
    using namespace vantel;
    const CommandLine options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::cout << CommandLineHelp();
        return 0;
    }
    if (options.version) {
        std::cout << "vantel " << ProgramVersionText() << "\n";
        return 0;
    }
    if (!options.error.empty() || !TextCodec::isSupported(options.codePage)) {
        std::cerr << (options.error.empty() ? kUnknownCodePage + options.codePage : options.error) << "\n"
                  << CommandLineHelp();
        return 2;
    }
    SetFileCodec(options.codePage);
    FileTrace traceFile;
    if (!options.traceFile.empty() && !traceFile.start(options.traceFile, options.traceMaxMb)) {
        std::cerr << "cannot write the trace file " << options.traceFile << "\n";
        return 1;
    }
    // The demo searches the simulator on loopback, never the real network.
    DatagramAddress searchTarget{options.demo ? LoopbackAddress() : kLimitedBroadcast, kDiscoveryPort};
    if (!options.searchTarget.empty() && !ParseDatagramAddress(options.searchTarget, searchTarget)) {
        std::cerr << "--search-target needs ADDR:PORT, not " << options.searchTarget << "\n";
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantel");
    // Wayland shells find the installed desktop entry, and so the icon, by this name.
    QApplication::setDesktopFileName("org.vantel.Vantel");
    QApplication::setWindowIcon(QIcon(":/vantel.png"));
    InstallQtTranslations(app);

    const AppPaths paths = AppPathsForList(options.listFile);
    UnitList list(paths.listFile);
    // The program rewrites the whole list after every change: a second writer
    // would lose one side's units. A folder that takes no lock file takes no
    // saves either, so there is nothing to guard then.
    ListLock::Outcome lockOutcome{};
    std::string lockHolder;
    const auto listLock = ListLock::tryAcquire(list.filePath(), lockOutcome, lockHolder);
    if (lockOutcome == ListLock::Outcome::Busy) {
        QMessageBox::critical(nullptr, "Vantel",
                              QString::fromStdString(kListInUse + list.filePath() +
                                                     (lockHolder.empty() ? "" : "\n(" + lockHolder + ")")));
        return 1;
    }
    AppState state;
    state.commandLineTimeoutMs = options.timeoutMs;

    std::vector<Adapter> adapters = ListAdapters();
    if (options.demo)
        adapters.insert(adapters.begin(), LoopbackAdapter());

    MainWindow window(list, state, paths.logFolder);
    window.setSearchTarget(searchTarget);
    PanelLauncher launcher(
        state,
        [&](UnitRecord& record, const ConnectRequest& request) {
            DigitalPanelWindow::open(list, state, record, request);
        },
        [&](UnitRecord& record, const ConnectRequest& request, ConnectedAnalogUnit unit) {
            OpenAnalogContainer(list, state, record, request, std::move(unit.channel), unit.unitId);
        });
    // Every unit behind the gateway shares the one link; panels go before it.
    CGatewayLink gatewayLink(SteadyClock::instance());
    GatewayConnect gateway(gatewayLink, SteadyClock::instance());
    launcher.setGateway(
        &gateway,
        [&](UnitRecord& record, const ConnectRequest& request, CGatewayLink& link) {
            DigitalPanelWindow::openGateway(list, state, record, request, link);
        },
        [&](UnitRecord& record, const ConnectRequest& request, CGatewayLink& link, int unitId) {
            OpenGatewayContainer(list, state, record, request, link, unitId);
        },
        [&] { ConnectingDialog::open(gateway, &window); });
    window.logic().setConnector(&launcher);
    if (!window.start(std::move(adapters)))
        return 1;
    window.show();
    QStringList openFiles;
    for (const std::string& file : options.openFiles)
        openFiles << QString::fromStdString(file);
    if (!openFiles.isEmpty())
        LogViewerWindow::open(openFiles, &window);
    const int exitCode = QApplication::exec();
    // A panel abandoned at shutdown still runs its threads against the unit
    // list: stop it before the list goes.
    for (QWidget* topLevel : QApplication::topLevelWidgets())
        if (auto* panelWindow = dynamic_cast<PanelWindow*>(topLevel))
            delete panelWindow;
    return exitCode;
}
