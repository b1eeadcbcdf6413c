// Drives the main window against the demo units (orvex-sim --config
// sim/demo.conf): connects every analog unit on the LAN of the list, sets and
// sweeps the outputs of the output units, polls every unit's inputs with
// logging on, checks that the graph moves and that the log has the columns
// of the unit's class, and writes screenshots of an output panel, an input
// panel and the graph page of the output unit.
// Usage: analog_panels_demo_run LIST LOG_FOLDER [SCREENSHOT_FOLDER]
// Prints one line per unit; exits 1 when a unit did not do what it should.
#include "DemoRunWindows.h"
#include "graph/LECanvasWidget.h"
#include "panels/PanelKindTable.h"
#include "panels/analog/AnalogInputPage.h"
#include "panels/analog/AnalogOutputPage.h"
#include "panels/framework/ContainerWindow.h"
#include "platform/TextCodec.h"
#include "support/AnalogMainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

using namespace vantel;

namespace {

using test::ContainerOf;
using test::RunFor;
using test::SaveScreenshot;

template <typename Widget> Widget* Control(TabParentDialog& window, int id)
{
    return qobject_cast<Widget*>(window.controls().widget(id));
}

void PollEvery(TabParentDialog& window, int autoBox, int periodBox, const char* period)
{
    Control<QLineEdit>(window, periodBox)->setText(period);
    Control<QCheckBox>(window, autoBox)->click();
}

// Output units: every output set by hand, the last one swept, the DI polled.
std::string ExerciseOutputs(TabParentDialog& window, AnalogOutputPanel& panel)
{
    using namespace AnalogOutputId;
    for (int row = 0; row < panel.outputCount(); ++row) {
        const Row& ids = Rows.at(static_cast<std::size_t>(row));
        Control<QLineEdit>(window, ids.output)->setText(QString::number(2.5 * (row + 1)));
        Control<QPushButton>(window, ids.button)->click();
    }
    Control<QPushButton>(window, Rows.at(static_cast<std::size_t>(panel.outputCount() - 1)).sweep)->click();
    PollEvery(window, InputAuto, InputPeriod, "5");
    RunFor(3000);
    return panel.csvHeader();
}

// Input units: DO1 switched on, the AI polled.
std::string ExerciseInputs(TabParentDialog& window, AnalogInputPanel& panel)
{
    using namespace AnalogInputId;
    if (panel.outputCount() > 0)
        Control<QPushButton>(window, Outputs[0].button)->click();
    PollEvery(window, InputAuto, InputPeriod, "5");
    RunFor(3000);
    return panel.csvHeader();
}

std::set<std::filesystem::path> LogFiles(const std::filesystem::path& folder)
{
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".csv")
            files.insert(entry.path());
    return files;
}

std::vector<std::string> LinesOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::istringstream text(TextCodec("CP932").decode(bytes.str()));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

std::size_t Columns(const std::string& line)
{
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1;
}

// The log of the unit's class: its header, then lines with a column for
// every header column.
bool CheckLog(const std::filesystem::path& file, std::string header)
{
    header.pop_back(); // "\n"
    const auto lines = LinesOf(file);
    bool ok = lines.size() >= 2 && lines[0] == header;
    for (std::size_t i = 1; i < lines.size(); ++i)
        ok = ok && Columns(lines[i]) == Columns(header);
    std::cout << "  " << file.filename().string() << ": " << lines.size() << " lines, header "
              << (lines.empty() ? std::string("(none)") : lines[0]) << (ok ? "" : "  <- wrong") << "\n";
    if (lines.size() >= 2)
        std::cout << "  last line " << lines.back() << "\n";
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: analog_panels_demo_run LIST LOG_FOLDER [SCREENSHOT_FOLDER]\n";
        return 2;
    }
    QApplication app(argc, argv);
    const std::filesystem::path logFolder = argv[2];
    const std::filesystem::path shots = argc > 3 ? argv[3] : "";

    UnitList list(argv[1]);
    AppState state;
    test::AnalogMainWindow run(list, state, logFolder.string() + "/");
    if (!run.start())
        return 1;
    MainWindow& main = run.window();

    bool allOk = true;
    bool outputShot = false;
    bool inputShot = false;
    for (int row = 0; row < list.count(); ++row) {
        const UnitRecord& record = list.at(row);
        const PanelKindRow* kind = KindRowOf(ModelAt(record.modelRow));
        if (kind == nullptr || kind->connect != ConnectRoute::UnitChannel)
            continue;
        const auto before = LogFiles(logFolder);
        main.selectRow(row);
        main.logic().onConnect();
        TabParentDialog* window = ContainerOf(record.id);
        std::cout << record.name << " (" << kind->panelClass << "): ";
        if (window == nullptr) {
            std::cout << "no container\n";
            allOk = false;
            continue;
        }
        std::cout << window->controls().text(PanelId::Status) << "\n";
        RunFor(500);
        std::string header;
        auto* outputPage = dynamic_cast<AnalogOutputPage*>(window->panelPage());
        auto* inputPage = dynamic_cast<AnalogInputPage*>(window->panelPage());
        if (outputPage != nullptr)
            header = ExerciseOutputs(*window, outputPage->panel());
        else if (inputPage != nullptr)
            header = ExerciseInputs(*window, inputPage->panel());
        const LECanvas& canvas = window->graphPage()->canvasWidget()->canvas();
        const std::size_t samples = canvas.GetSeries(0)->sampleCount();
        std::cout << "  graph: " << samples << " samples on the first trace\n";
        allOk = allOk && samples >= 3;
        std::set<std::filesystem::path> added;
        for (const auto& file : LogFiles(logFolder))
            if (!before.count(file))
                added.insert(file);
        for (const auto& file : LogFiles(logFolder))
            if (added.empty() && file.filename().string().find(record.logName) == 0)
                added.insert(file);
        allOk = allOk && added.size() == 1 && CheckLog(*added.begin(), header);
        if (!shots.empty() && outputPage != nullptr && !outputShot) {
            RunFor(20000); // a graph worth looking at
            outputShot = SaveScreenshot(*window, shots / "analog-output-panel.png");
            window->tabBar()->setCurrentIndex(1);
            RunFor(300);
            SaveScreenshot(*window, shots / "analog-graph-page.png");
            window->tabBar()->setCurrentIndex(0);
        }
        if (!shots.empty() && inputPage != nullptr && !inputShot)
            inputShot = SaveScreenshot(*window, shots / "analog-input-panel.png");
    }

    // Half of the containers by their "切断" button, the rest by closing the main window.
    for (int row = 0; row < list.count(); row += 2)
        if (TabParentDialog* window = ContainerOf(list.at(row).id))
            window->findChild<QPushButton*>(QStringLiteral("disconnect"))->click();
    RunFor(300);
    std::cout << "open panels after disconnecting some: " << state.openPanelCount.load() << "\n";
    main.close();
    QElapsedTimer closing;
    closing.start();
    while ((state.openPanelCount.load() != 0 || main.isVisible()) && closing.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::cout << "open panels after closing the main window: " << state.openPanelCount.load() << "\n";
    return allOk && state.openPanelCount.load() == 0 ? 0 : 1;
}
