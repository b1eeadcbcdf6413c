// Opens the tab container of simulated analog units as the main window's
// connect does, works their panels for a few seconds and writes screenshots:
// the control tab of each and the graph tab of the output unit.
// Usage: analog_panels_screenshot OUTPUT_FOLDER
#include "SimUnit.h"
#include "graph/GraphPageIds.h"
#include "panels/AnalogInputIds.h"
#include "panels/AnalogOutputIds.h"
#include "panels/ContainerWindow.h"
#include "panels/UnitCheck.h"
#include "platform/TcpSocket.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include <filesystem>
#include <iostream>

using namespace vantel;

namespace {

void RunFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

template <typename Widget> Widget* Control(TabParentDialog& window, int id)
{
    return qobject_cast<Widget*>(window.controls().widget(id));
}

TabParentDialog* Open(UnitList& list, AppState& state, int index)
{
    UnitRecord& record = list.at(index);
    auto channel = std::make_unique<CAnalogChannel>(0);
    const UnitIdentity identity =
        ConnectAndIdentify(*channel, ModelAt(record.modelRow), LocationOf(record), LoopbackAddress());
    if (!identity.ok()) {
        std::cerr << record.name << ": " << identity.failure << "\n";
        return nullptr;
    }
    ConnectRequest request;
    request.listIndex = index;
    return OpenAnalogContainer(list, state, record, request, std::move(channel), identity.unitId);
}

bool Save(QWidget& widget, const std::filesystem::path& file)
{
    const bool saved = widget.grab().save(QString::fromStdString(file.string()), "PNG");
    std::cout << (saved ? "wrote " : "could not write ") << file.string() << "\n";
    return saved;
}

void ExerciseOutputs(TabParentDialog& window)
{
    using namespace AnalogOutputId;
    const char* values[] = {"2.5", "7.25", "4.0"};
    for (int row = 0; row < 3; ++row) {
        auto* box = Control<QLineEdit>(window, Rows[static_cast<std::size_t>(row)].output);
        box->setText(values[row]);
        Control<QPushButton>(window, Rows[static_cast<std::size_t>(row)].button)->click();
    }
    Control<QPushButton>(window, Rows[2].sweep)->click();
    Control<QLineEdit>(window, InputPeriod)->setText(QStringLiteral("2"));
    Control<QCheckBox>(window, InputAuto)->click();
}

void ExerciseInputs(TabParentDialog& window)
{
    using namespace AnalogInputId;
    Control<QPushButton>(window, Outputs[0].button)->click();
    Control<QLineEdit>(window, InputPeriod)->setText(QStringLiteral("2"));
    Control<QCheckBox>(window, InputAuto)->click();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: analog_panels_screenshot OUTPUT_FOLDER\n";
        return 2;
    }
    QApplication app(argc, argv);
    const std::filesystem::path folder = argv[1];
    sim::SimUnit outputs(sim::UnitConfig{.row = 49, .unitId = 13, .inputBits = 0x5});
    outputs.start();
    sim::SimUnit inputs(sim::UnitConfig{.row = 18, .unitId = 9});
    inputs.modify([](sim::UnitState& s) {
        s.rangeCodes = {2, 4, 6};
        s.doAlerts[1].enabled = 1;
    });
    inputs.start();
    const std::filesystem::path listFile = std::filesystem::temp_directory_path() / "vantel-analog-shots.dat";
    UnitList list(listFile.string());
    AppState state;
    UnitConnection connection;
    connection.name = "試験台 3AO";
    connection.host = "127.0.0.1";
    connection.controlPort = outputs.port();
    connection.modelRow = 49;
    list.Add(-1, connection);
    list.at(0).outputNames = {"ヒーター", "ポンプ", "バルブ"};
    list.at(0).inputNames = {"扉", "非常停止", "警報"};
    connection.name = "計測台 3AI";
    connection.controlPort = inputs.port();
    connection.modelRow = 18;
    list.Add(-1, connection);
    list.at(1).inputNames = {"圧力", "流量", "炉温"};
    list.at(1).outputNames = {"ランプ", "ブザー"};
    list.at(1).inputFormulas[0] = {10.0, 0.0, "kPa"};

    TabParentDialog* output = Open(list, state, 0);
    if (output == nullptr)
        return 1;
    RunFor(500);
    ExerciseOutputs(*output);
    RunFor(6000);
    bool ok = Save(*output, folder / "analog-output-panel.png");
    output->tabBar()->setCurrentIndex(1);
    RunFor(300);
    ok = Save(*output, folder / "analog-graph-page.png") && ok;
    output->close();
    TabParentDialog* input = Open(list, state, 1);
    if (input == nullptr)
        return 1;
    RunFor(500);
    ExerciseInputs(*input);
    RunFor(3000);
    ok = Save(*input, folder / "analog-input-panel.png") && ok;
    input->close();
    RunFor(300);
    std::filesystem::remove(listFile);
    return ok ? 0 : 1;
}
