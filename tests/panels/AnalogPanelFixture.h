#pragma once

#include "SimUnit.h"
#include "SimulatedCommands.h"
#include "graph/DlgGraphTab.h"
#include "graph/LECanvas.h"
#include "panels/PanelKindTable.h"
#include "panels/framework/ContainerPanel.h"
#include "panels/framework/UnitCheck.h"
#include "panels/framework/WorkerLink.h"
#include "platform/TcpSocket.h"
#include "support/Eventually.h"
#include "support/FakePanelView.h"
#include "support/ScriptedSettingsDialogs.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace vantel::test {

class FixedLocalTime : public LocalTimeSource {
public:
    LocalDateTime now() const override { return {2026, 12, 6, 23, 15, 0}; }
};

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// An analog unit on loopback, listed as "Meter", connected and checked as the
// main window's connect leaves it; the panel of its kind is opened on a fake
// window with a real canvas and graph page logic, ticking by hand with a
// manual clock.
class AnalogPanelFixture : public ::testing::Test {
protected:
    static constexpr int kTimeoutMs = 300;

    explicit AnalogPanelFixture(int row) : list((temp.path() / "vantel.dat").string(), codec)
    {
        unit = std::make_unique<sim::SimUnit>(sim::UnitConfig{.row = row, .unitId = 3});
        unit->start();
        UnitConnection connection;
        connection.name = "Meter";
        connection.host = "127.0.0.1";
        connection.controlPort = unit->port();
        connection.modelRow = row;
        list.Add(-1, connection);
        canvas = std::make_shared<LECanvas>(1, PixelRect{0, 0, 700, 400}, true);
    }

    // The open channel and the panel's context, as the connect hands them over.
    std::unique_ptr<AnalogLink> connect()
    {
        auto channel = std::make_unique<CAnalogChannel>(kTimeoutMs);
        const UnitIdentity identity =
            ConnectAndIdentify(*channel, ModelAt(list.at(0).modelRow), LocationOf(list.at(0)), LoopbackAddress());
        EXPECT_TRUE(identity.ok()) << identity.failure;
        unitId = identity.unitId;
        unit->clearReceived();
        return std::make_unique<AnalogLink>(std::move(channel), std::chrono::milliseconds{100});
    }

    PanelContext context()
    {
        PanelContext c(list, app, list.at(0).id);
        c.tickMode = Ticker::Mode::Manual;
        c.clock = &clock;
        c.codec = &codec;
        c.dialogs = &dialogs;
        c.localTime = &localTime;
        c.logFolder = temp.path().string();
        c.loggingEnabled = true;
        return c;
    }

    ContainerPage page(ContainerKind kind)
    {
        graph = std::make_unique<DlgGraphTab>(graphView, KindRowOf(kind).graph);
        graph->setCanvas(canvas);
        return ContainerPage{kind, unitId, canvas, graph.get(), KindRowOf(kind).shape};
    }

    std::filesystem::path logFile() const { return temp.path() / "Meter.csv"; }
    std::string logText() const { return ReadWholeFile(logFile()); }

    TempFolder temp;
    TextCodec codec{"UTF-8"};
    UnitList list;
    AppState app;
    ManualClock clock{1000};
    FixedLocalTime localTime;
    FakePanelView view;
    FakePanelView graphView;
    ScriptedSettingsDialogs dialogs;
    std::unique_ptr<sim::SimUnit> unit;
    std::shared_ptr<LECanvas> canvas;
    std::unique_ptr<DlgGraphTab> graph;
    int unitId = 0;
};

} // namespace vantel::test
