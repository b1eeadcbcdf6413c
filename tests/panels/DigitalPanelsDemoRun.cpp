// Drives the main window against the demo units (orvex-sim --config
// sim/demo.conf): connects every digital unit of the list, switches an
// output, toggles outputs and polls inputs automatically with logging on,
// disconnects some and closes the main window over the others, and writes a
// screenshot of one panel.
// Usage: digital_panels_demo_run LIST LOG_FOLDER [screenshot.png [unit name]]
// Prints one line per unit; exits 1 when a unit did not do what it should.
#include "DemoRunEvents.h"
#include "app/MainWindow.h"
#include "app/PanelLauncher.h"
#include "panels/digital/DigitalPanelWindow.h"
#include "registry/ModelCatalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

using namespace vantel;

namespace {

using test::RunUntil;

DigitalPanelWindow* PanelWindowOf(UnitId unit)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<DigitalPanelWindow*>(widget);
        if (window && window->digitalPanel() && window->digitalPanel()->unit() == unit && window->isVisible())
            return window;
    }
    return nullptr;
}

template <typename Widget> Widget* Control(DigitalPanelWindow& window, int id)
{
    return qobject_cast<Widget*>(window.controls().widget(id));
}

void SwitchAutoOn(DigitalPanelWindow& window, int checkBox, int periodBox, const char* period)
{
    Control<QLineEdit>(window, periodBox)->setText(period);
    Control<QCheckBox>(window, checkBox)->click();
}

int CountLines(const std::filesystem::path& file)
{
    std::ifstream in(file);
    int lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    return lines;
}

// Exercises one open panel; false when something did not happen.
bool Exercise(DigitalPanelWindow& window)
{
    CVantelDIGITAL& panel = *window.digitalPanel();
    // Let the first reads come back, as a user's first click would.
    RunUntil([] { return false; }, 300);
    bool ok = true;
    if (panel.outputCount() > 0) {
        const int before = panel.outputBits();
        Control<QPushButton>(window, DigitalId::OutputButton[0])->click();
        ok = RunUntil([&] { return (panel.outputBits() ^ before) == 1; }, 3000) && ok;
        std::cout << "  by hand: outputs " << before << " -> " << panel.outputBits() << "\n";
        const int last = panel.outputCount() - 1;
        SwitchAutoOn(window, DigitalId::OutputAuto[static_cast<std::size_t>(last)],
                     DigitalId::OutputPeriod[static_cast<std::size_t>(last)], "2");
        int changes = 0;
        int seen = panel.outputBits();
        RunUntil(
            [&] {
                if (panel.outputBits() != seen) {
                    seen = panel.outputBits();
                    ++changes;
                }
                return changes >= 4;
            },
            3000);
        std::cout << "  auto toggling of DO" << last + 1 << ": " << changes << " changes\n";
        ok = changes >= 4 && ok;
    }
    if (panel.inputCount() > 0) {
        SwitchAutoOn(window, DigitalId::InputAuto, DigitalId::InputPeriod, "3");
        RunUntil([] { return false; }, 1200);
        std::cout << "  inputs polled: " << panel.inputBits() << ", title \"" << window.windowTitle().toStdString()
                  << "\"\n";
        ok = window.windowTitle().endsWith(QStringLiteral(" (ロギング中)")) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: digital_panels_demo_run LIST LOG_FOLDER [screenshot.png [unit name]]\n";
        return 2;
    }
    QApplication app(argc, argv);
    const std::string logFolder = std::string(argv[2]) + "/";
    const QString screenshot = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const std::string shotUnit = argc > 4 ? argv[4] : "8ch K20-P";

    UnitList list(argv[1]);
    AppState state;
    MainWindow main(list, state, logFolder);
    PanelLauncher launcher(state, [&](UnitRecord& record, const ConnectRequest& request) {
        DigitalPanelWindow::open(list, state, record, request);
    });
    main.logic().setConnector(&launcher);
    if (!main.start({LoopbackAdapter()}))
        return 1;
    main.show();
    main.controls().setChecked(MainId::LoggingEnabled, true);

    bool allOk = true;
    for (int row = 0; row < list.count(); ++row) {
        const UnitRecord& record = list.at(row);
        const ModelRow& model = ModelAt(record.modelRow);
        if (model.isAnalog() || model.isGateway())
            continue;
        main.selectRow(row);
        main.logic().onConnect();
        DigitalPanelWindow* window = PanelWindowOf(record.id);
        std::cout << record.name << " (" << model.shortName << "): ";
        if (!window) {
            std::cout << "no panel\n";
            allOk = false;
            continue;
        }
        std::cout << window->controls().text(PanelId::Status) << "\n";
        allOk = Exercise(*window) && allOk;
        if (!screenshot.isEmpty() && record.name == shotUnit)
            window->grab().save(screenshot, "PNG");
    }

    // Half of the panels by their "切断" button, the rest by closing the main window.
    for (int row = 0; row < list.count(); row += 2)
        if (DigitalPanelWindow* window = PanelWindowOf(list.at(row).id))
            Control<QPushButton>(*window, PanelId::Disconnect)->click();
    RunUntil([] { return false; }, 300);
    std::cout << "open panels after disconnecting some: " << state.openPanelCount.load() << "\n";
    main.close();
    RunUntil([&] { return state.openPanelCount.load() == 0 && !main.isVisible(); }, 5000);
    std::cout << "open panels after closing the main window: " << state.openPanelCount.load()
              << (main.isVisible() ? ", main window still open" : ", main window closed") << "\n";
    for (const auto& entry : std::filesystem::directory_iterator(logFolder))
        if (entry.path().extension() == ".csv")
            std::cout << entry.path().filename().string() << ": " << CountLines(entry.path()) << " lines\n";
    return allOk && state.openPanelCount.load() == 0 && !main.isVisible() ? 0 : 1;
}
