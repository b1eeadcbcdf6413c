#include "panels/PanelKindTable.h"

#include "panels/AnalogPanelNames.h"
#include "panels/analog/AnalogInputIds.h"
#include "panels/analog/AnalogOutputIds.h"
#include "panels/digital/DigitalPanelIds.h"
#include "panels/framework/PanelTexts.h"
#include "panels/gateway/GatewayPanelRules.h"

#include <algorithm>
#include <array>
#include <chrono>

namespace vantel {
namespace {

using K = ContainerKind;

// A wired analog unit answers within milliseconds: closing gives it this
// long to answer what was queued before it is given up.
constexpr std::chrono::milliseconds kAnalogCloseGrace{100};

// The page of a kind's panel carries the shape of the kind's rows.
ContainerPage Shaped(ContainerPage page)
{
    page.shape = KindRowOf(page.kind).shape;
    return page;
}

template <typename Panel>
PanelPtr<ContainerPanel> OnChannel(PanelView& view, PanelContext context, ContainerPage page, ContainerLinkSource link)
{
    return MakePanel<Panel>(view, std::move(context), Shaped(std::move(page)),
                            std::make_unique<AnalogLink>(std::move(link.channel), kAnalogCloseGrace));
}

template <typename Panel, typename NodeLink>
PanelPtr<ContainerPanel> OnNode(PanelView& view, PanelContext context, ContainerPage page, ContainerLinkSource link)
{
    return MakePanel<Panel>(
        view, std::move(context), Shaped(std::move(page)),
        std::make_unique<NodeLink>(std::make_unique<NodeSession>(*link.gateway, link.node, link.replyTimeoutSeconds)));
}

constexpr PollingControls kDigitalPolling{DigitalId::InputAuto, DigitalId::InputPeriod};
// AI auto of the input classes, DI auto of the output classes.
constexpr PollingControls kAnalogInputPolling{AnalogInputId::InputAuto, AnalogInputId::InputPeriod};
constexpr PollingControls kAnalogOutputPolling{AnalogOutputId::InputAuto, AnalogOutputId::InputPeriod};

constexpr std::array<std::string_view, 6> kInputSeries{"AI1", "AI2", "AI3", "DO1", "DO2"};
constexpr std::array<std::string_view, 6> kOutputSeries{"AO1", "AO2", "AO3", "DI1", "DI2", "DI3"};
// Three analog rows and two digital ones: the sixth row and the digital
// rows' "Scale" buttons go.
constexpr std::array<std::string_view, 7> kFiveRowsHidden{"Check6", "Label6", "Swatch6", "Scale4", "Scale5", "Scale6"};
constexpr std::array<std::string_view, 7> kSixRowsHidden{"Scale4", "Scale5", "Scale6"};

constexpr std::array<PanelKindRow, 10> kRows{{
    {.kind = {PanelClass::Digital},
     .panelClass = "CVantelDIGITAL",
     .connect = ConnectRoute::ByPanel,
     .polling = kDigitalPolling},
    {.kind = {PanelClass::DigitalGateway},
     .panelClass = "CVantelGW",
     .connect = ConnectRoute::GatewayNode,
     .polling = kDigitalPolling},
    {.kind = {PanelClass::Container, K::QZK17},
     .panelClass = "DlgQZK17",
     .modelRows = {19, kNoModelRow},
     .connect = ConnectRoute::UnitChannel,
     .polling = kAnalogInputPolling,
     .templateId = 144,
     .shape = AnalogInputShape{3, 2, false, false},
     .graph = {false, 3, 3, 5, kInputSeries, kFiveRowsHidden},
     .makePanel = OnChannel<DlgQZK17>,
     .failureMessage = kCommunicationError},
    {.kind = {PanelClass::Container, K::QZK17V2},
     .panelClass = "DlgQZK17V2",
     .modelRows = {18, 48},
     .connect = ConnectRoute::UnitChannel,
     .polling = kAnalogInputPolling,
     .templateId = 139,
     .shape = AnalogInputShape{3, 2, true, true},
     .graph = {false, 3, 3, 5, kInputSeries, kFiveRowsHidden},
     .makePanel = OnChannel<DlgQZK17V2>,
     .failureMessage = kCommunicationError},
    {.kind = {PanelClass::Container, K::QZK19},
     .panelClass = "CDlgQZK19",
     .modelRows = {21, kNoModelRow},
     .connect = ConnectRoute::UnitChannel,
     .polling = kAnalogOutputPolling,
     .templateId = 143,
     .shape = AnalogOutputShape{2, 3, false},
     .graph = {true,
               3,
               2,
               5,
               {"AO1", "AO2", "DI1", "DI2", "DI3"},
               {"Check3", "Label6", "Swatch6", "Scale3", "Scale4", "Scale5", "Scale6"}},
     .makePanel = OnChannel<CDlgQZK19>,
     .failureMessage = kCommunicationError},
    {.kind = {PanelClass::Container, K::QZK18},
     .panelClass = "CDlgQZK18",
     .modelRows = {20, kNoModelRow},
     .connect = ConnectRoute::UnitChannel,
     .polling = kAnalogOutputPolling,
     .templateId = 140,
     .shape = AnalogOutputShape{3, 2, true},
     .graph = {true, 3, 3, 5, {"AO1", "AO2", "AO3", "DI1", "DI2"}, kFiveRowsHidden},
     .makePanel = OnChannel<CDlgQZK18>,
     .failureMessage = kCommunicationError},
    {.kind = {PanelClass::Container, K::QZK28},
     .panelClass = "CDlgQZK28",
     .modelRows = {30, kNoModelRow},
     .connect = ConnectRoute::UnitChannel,
     .polling = kAnalogInputPolling,
     .templateId = 137,
     .shape = AnalogInputShape{5, 0, true, false},
     .graph = {false, 5, 5, 5, {"AI1", "AI2", "AI3", "AI4", "AI5"}, {"Check6", "Label6", "Swatch6", "Scale6"}},
     .makePanel = OnChannel<CDlgQZK28>,
     .failureMessage = kCommunicationError},
    {.kind = {PanelClass::Container, K::QZK17Gateway},
     .panelClass = "DlgQZK17_GW",
     .modelRows = {37, kNoModelRow},
     .connect = ConnectRoute::GatewayModelCheck,
     .polling = kAnalogInputPolling,
     .templateId = 139,
     .shape = AnalogInputShape{3, 2, true, false, false, kSecondsRule, kSecondsUnit},
     .graph = {false, 3, 3, 5, kInputSeries, kFiveRowsHidden},
     .makePanel = OnNode<DlgQZK17_GW, NodeInputLink>,
     .failureMessage = kWirelessTimeout},
    {.kind = {PanelClass::Container, K::QZK33Gateway},
     .panelClass = "CDlgQZK33_GW",
     .modelRows = {38, kNoModelRow},
     .connect = ConnectRoute::GatewayModelCheck,
     .polling = kAnalogOutputPolling,
     .templateId = 146,
     .shape = AnalogOutputShape{3, 3, true, kSecondsRule, kSecondsUnit},
     .graph = {true, 3, 3, 6, kOutputSeries, kSixRowsHidden},
     .makePanel = OnNode<CDlgQZK33_GW, NodeOutputLink>,
     .failureMessage = kWirelessTimeout},
    {.kind = {PanelClass::Container, K::QZK33},
     .panelClass = "CDlgQZK33",
     .modelRows = {49, kNoModelRow},
     .connect = ConnectRoute::UnitChannel,
     .polling = kAnalogOutputPolling,
     .templateId = 146,
     .shape = AnalogOutputShape{3, 3, true},
     .graph = {true, 3, 3, 6, kOutputSeries, kSixRowsHidden},
     .makePanel = OnChannel<CDlgQZK33>,
     .failureMessage = kCommunicationError},
}};

const PanelKindRow* RowOf(PanelKind kind)
{
    const auto found =
        std::find_if(kRows.begin(), kRows.end(), [kind](const PanelKindRow& row) { return row.kind == kind; });
    return found == kRows.end() ? nullptr : &*found;
}

} // namespace

std::span<const PanelKindRow> KindRows()
{
    return kRows;
}

// Analog models open the container of the row that names them, the
// gateway line without analog channels the digital gateway panel, every
// other known model the digital panel.
const PanelKindRow* KindRowOf(const ModelRow& model)
{
    if (!IsKnownModelRow(model.index))
        return nullptr;
    if (!model.isAnalog())
        return RowOf({model.isGateway() ? PanelClass::DigitalGateway : PanelClass::Digital});
    const auto found = std::find_if(kRows.begin(), kRows.end(), [&model](const PanelKindRow& row) {
        return row.kind.panel == PanelClass::Container && row.opensModel(model.index);
    });
    return found == kRows.end() ? nullptr : &*found;
}

const PanelKindRow& KindRowOf(ContainerKind kind)
{
    return *RowOf({PanelClass::Container, kind});
}

} // namespace vantel
