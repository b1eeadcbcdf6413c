#include "panels/PanelKindTable.h"
#include "graph/GraphPageIds.h"
#include "panels/analog/AnalogInputPanel.h"
#include "panels/analog/AnalogOutputPanel.h"
#include "registry/ModelCatalogue.h"
#include "support/FakePanelView.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>

#include <set>
#include <string>
#include <variant>

namespace vantel {
namespace {

// Rows of analog channels and of digital ones that a container kind's shape has.
struct ShapeRows {
    int analog = 0;
    int digital = 0;
    const char* analogName = "";
    const char* digitalName = "";
};

ShapeRows RowsOf(const ContainerShape& shape)
{
    if (const auto* inputs = std::get_if<AnalogInputShape>(&shape))
        return {inputs->inputs, inputs->outputs, "AI", "DO"};
    const auto& outputs = std::get<AnalogOutputShape>(shape);
    return {outputs.outputs, outputs.inputs, "AO", "DI"};
}

std::string Named(const char* prefix, int number)
{
    return prefix + std::to_string(number);
}

void ExpectCompleteContainerRow(const PanelKindRow& row)
{
    SCOPED_TRACE(std::string(row.panelClass));
    ASSERT_FALSE(std::holds_alternative<std::monostate>(row.shape)) << "a container kind has a shape";
    EXPECT_NE(row.makePanel, nullptr);
    EXPECT_NE(row.failureMessage, nullptr);
    EXPECT_GT(row.templateId, 0);
    EXPECT_NE(row.connect, ConnectRoute::ByPanel) << "the panel takes a checked link";
    EXPECT_NE(row.polling.autoBox, 0);
    EXPECT_NE(row.polling.periodBox, 0);

    // The graph page follows the shape: a series per row, analog ones first.
    const GraphPageLayout& graph = row.graph;
    const ShapeRows rows = RowsOf(row.shape);
    EXPECT_EQ(graph.analogOutputs, row.analogOutputs());
    EXPECT_EQ(graph.analogSeries, rows.analog);
    EXPECT_EQ(graph.seriesCount, rows.analog + rows.digital);
    EXPECT_EQ(graph.analogPageRows, std::max(3, rows.analog));
    ASSERT_LE(graph.seriesCount, GraphPageId::Rows);
    for (int i = 0; i < GraphPageId::Rows; ++i) {
        const std::string expected = i < rows.analog         ? Named(rows.analogName, i + 1)
                                     : i < graph.seriesCount ? Named(rows.digitalName, i - rows.analog + 1)
                                                             : "";
        EXPECT_EQ(graph.series[static_cast<std::size_t>(i)], expected) << "series " << i;
    }

    // Hidden controls are the page's by name, each once, and a row with a
    // series keeps its check box.
    std::set<int> hidden;
    for (std::string_view name : graph.hiddenControls) {
        if (name.empty())
            continue;
        const std::optional<int> id = GraphPageId::ControlNamed(name);
        ASSERT_TRUE(id.has_value()) << "no graph page control named " << name;
        EXPECT_TRUE(hidden.insert(*id).second) << name << " listed twice";
    }
    const int unusedAnalogRows = std::max(0, 3 - rows.analog);
    const int pageRowsUsed = graph.seriesCount + unusedAnalogRows;
    for (int pageRow = 0; pageRow < GraphPageId::Rows; ++pageRow) {
        const bool unused = pageRow >= pageRowsUsed || (pageRow >= rows.analog && pageRow < 3);
        EXPECT_EQ(hidden.count(GraphPageId::CheckOfRow(pageRow)) == 1, unused) << "check box of page row " << pageRow;
    }
}

// What opens for a catalogue row: the container of an analog model's kind,
// the digital gateway panel for the gateway line without analog channels,
// the digital panel for every other known model.
PanelKind ExpectedKindOf(const ModelRow& model)
{
    using K = ContainerKind;
    static const std::map<int, ContainerKind> kContainers{
        {18, K::QZK17V2},      {19, K::QZK17},        {20, K::QZK18},   {21, K::QZK19}, {30, K::QZK28},
        {37, K::QZK17Gateway}, {38, K::QZK33Gateway}, {48, K::QZK17V2}, {49, K::QZK33}};
    if (!IsKnownModelRow(model.index))
        return {};
    if (model.isAnalog()) {
        const auto found = kContainers.find(model.index);
        return found == kContainers.end() ? PanelKind{} : PanelKind{PanelClass::Container, found->second};
    }
    return {model.isGateway() ? PanelClass::DigitalGateway : PanelClass::Digital};
}

TEST(PanelKindTable, EveryCatalogueRowHasACompleteRowOfItsKind)
{
    int containers = 0;
    for (int index = 0; index < kModelCount; ++index) {
        const ModelRow& model = ModelAt(index);
        SCOPED_TRACE(std::string(model.displayName));
        const PanelKind kind = ExpectedKindOf(model);
        const PanelKindRow* row = KindRowOf(model);
        if (kind.panel == PanelClass::None) {
            EXPECT_EQ(row, nullptr);
            continue;
        }
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->kind, kind);
        EXPECT_FALSE(row->panelClass.empty());
        EXPECT_EQ(row->viaGateway(), model.isGateway()) << "the gateway's units open on the gateway link";
        if (kind.panel == PanelClass::Container) {
            ++containers;
            ExpectCompleteContainerRow(*row);
        } else {
            EXPECT_TRUE(std::holds_alternative<std::monostate>(row->shape));
            EXPECT_EQ(row->makePanel, nullptr) << "a digital panel is not a container's";
        }
    }
    EXPECT_GT(containers, 0);
}

TEST(PanelKindTable, EveryContainerKindHasOneRowAndEveryRowIsOfItsOwnKind)
{
    std::set<std::string_view> classes;
    for (const PanelKindRow& row : KindRows())
        EXPECT_TRUE(classes.insert(row.panelClass).second) << row.panelClass << " has two rows";
    for (int number = 0; number < kContainerKindCount; ++number) {
        const ContainerKind kind = *ContainerKindFromNumber(number);
        EXPECT_EQ(KindRowOf(kind).kind, (PanelKind{PanelClass::Container, kind}));
    }
    EXPECT_EQ(KindRows().size(), static_cast<std::size_t>(kContainerKindCount + 2)) << "plus the two digital classes";
}

TEST(GraphPageId, ControlsAreFoundByNameAndOnlyTheirs)
{
    using namespace GraphPageId;
    EXPECT_EQ(ControlNamed("Check3"), CheckOfRow(2));
    EXPECT_EQ(ControlNamed("Check6"), 1302);
    EXPECT_EQ(ControlNamed("Scale4"), FirstScale + 3);
    EXPECT_EQ(ControlNamed("Label6"), FirstLabel + 5);
    EXPECT_EQ(ControlNamed("SeriesList"), SeriesList);
    for (std::string_view wrong : {"", "Check", "Check0", "Check7", "Scale", "Knob1", "6"})
        EXPECT_FALSE(ControlNamed(wrong).has_value()) << wrong;
}

// The factories make the panel of the row's direction with the row's shape,
// on a link of the row's route.
TEST(PanelKindTable, EachFactoryMakesThePanelOfItsShape)
{
    const test::TempFolder temp;
    UnitList list((temp.path() / "vantel.dat").string());
    UnitConnection connection;
    connection.name = "unit";
    list.Add(-1, connection);
    AppState app;
    CGatewayLink gateway(SteadyClock::instance());
    for (const PanelKindRow& row : KindRows()) {
        if (row.makePanel == nullptr)
            continue;
        SCOPED_TRACE(std::string(row.panelClass));
        test::FakePanelView view;
        PanelContext context(list, app, list.at(0).id);
        context.tickMode = Ticker::Mode::Manual;
        context.saveListOnClose = false;
        ContainerLinkSource link;
        if (row.viaGateway())
            link = {nullptr, &gateway, 1, 1};
        else
            link.channel = std::make_unique<CAnalogChannel>(0);
        PanelPtr<ContainerPanel> panel = row.makePanel(
            view, std::move(context), ContainerPage{row.kind.container, 0, nullptr, nullptr}, std::move(link));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->kind(), row.kind.container);
        const ShapeRows rows = RowsOf(row.shape);
        if (const auto* inputs = dynamic_cast<AnalogInputPanel*>(panel.get())) {
            EXPECT_FALSE(row.analogOutputs());
            EXPECT_EQ(inputs->inputCount(), rows.analog);
            EXPECT_EQ(inputs->outputCount(), rows.digital);
        } else {
            const auto* outputs = dynamic_cast<AnalogOutputPanel*>(panel.get());
            ASSERT_NE(outputs, nullptr);
            EXPECT_TRUE(row.analogOutputs());
            EXPECT_EQ(outputs->outputCount(), rows.analog);
            EXPECT_EQ(outputs->inputCount(), rows.digital);
        }
    }
}

} // namespace
} // namespace vantel
