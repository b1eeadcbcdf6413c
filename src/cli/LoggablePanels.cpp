#include "cli/LoggablePanels.h"

#include "cli/GatewayLinks.h"
#include "cli/GatewayModelCheck.h"
#include "cli/TerminalText.h"
#include "panels/AnalogPanels.h"
#include "panels/digital/CVantelDIGITAL.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/UnitCheck.h"
#include "panels/gateway/CVantelGW.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "registry/ModelCatalogue.h"
#include "registry/PanelKind.h"

#include <algorithm>
#include <stop_token>
#include <string>

namespace vantel::ctl {
namespace {

// A wired analog unit answers within milliseconds: closing gives it this
// long to answer what was queued before it is given up.
constexpr std::chrono::milliseconds kAnalogCloseGrace{100};

// Ticks the panel's polling box with the period asked for; false (the panel
// closed again) when the panel refuses the period.
bool SwitchOnPolling(PanelBase& panel, HeadlessPanelView& view, PollingControls polling,
                     const std::optional<std::string>& period)
{
    if (period)
        view.setText(polling.periodBox, *period);
    view.setChecked(polling.autoBox, true);
    panel.onAutoClicked(polling.autoBox);
    if (view.isChecked(polling.autoBox))
        return true;
    view.closeAndWait(panel);
    return false;
}

LoggingPanel Logging(PanelPtr<PanelBase> panel)
{
    const CsvLogger* log = &panel->logger();
    return {std::move(panel), log, {}};
}

LoggingPanel OpenDigital(HeadlessPanelView& view, PanelContext context, const std::optional<std::string>& period)
{
    auto panel = MakePanel<CVantelDIGITAL>(view, std::move(context));
    if (!panel->start() || !SwitchOnPolling(*panel, view, {DigitalId::InputAuto, DigitalId::InputPeriod}, period))
        return {};
    return Logging(std::move(panel));
}

// An analog panel stays open after a failed exchange; nobody is there to
// read on, so the run ends at the panel's message.
LoggingPanel EndingAtMessage(LoggingPanel opened, HeadlessPanelView& view, const char* message)
{
    opened.failed = [&view, message] {
        const auto shown = view.messages();
        return std::find(shown.begin(), shown.end(), message) != shown.end();
    };
    return opened;
}

// A panel of the tab container, started and polling; the run ends at
// `failureMessage`.
LoggingPanel RunContainerPanel(PanelPtr<ContainerPanel> panel, HeadlessPanelView& view, ContainerKind kind,
                               const std::optional<std::string>& period, const char* failureMessage)
{
    panel->start();
    if (!SwitchOnPolling(*panel, view, PollingControlsOf(kind), period))
        return {};
    return EndingAtMessage(Logging(std::move(panel)), view, failureMessage);
}

// The unit being opened and the run's one link to its gateway.
struct GatewayUnit {
    const UnitRecord* unit = nullptr;
    CGatewayLink* link = nullptr;
    explicit operator bool() const { return link != nullptr; }
};

// Empty once the view was told why the link could not be opened.
GatewayUnit GatewayUnitOf(HeadlessPanelView& view, const PanelContext& context)
{
    const UnitRecord* unit = context.list.find(context.unit);
    if (unit == nullptr)
        return {};
    int error = 0;
    CGatewayLink* link = GatewayLinks::instance().linkFor(*unit, context.app.adapterAddress.load(), error);
    if (link == nullptr)
        view.showMessage("接続エラー : " + std::to_string(error));
    return {unit, link};
}

// A digital unit behind the gateway, on the run's one link to that gateway.
LoggingPanel OpenGateway(HeadlessPanelView& view, PanelContext context, const std::optional<std::string>& period)
{
    const GatewayUnit gateway = GatewayUnitOf(view, context);
    if (!gateway)
        return {};
    auto panel = MakePanel<CVantelGW>(view, std::move(context), *gateway.link);
    panel->start();
    if (!SwitchOnPolling(*panel, view, {DigitalId::InputAuto, DigitalId::InputPeriod}, period))
        return {};
    return Logging(std::move(panel));
}

// An analog unit is connected and identified as the main window's connect
// does it, then runs the panel class of its container kind.
LoggingPanel OpenAnalog(HeadlessPanelView& view, PanelContext context, const std::optional<std::string>& period)
{
    const UnitRecord* unit = context.list.find(context.unit);
    if (unit == nullptr)
        return {};
    const ContainerKind kind = PanelKindOf(ModelAt(unit->modelRow)).container;
    auto channel = std::make_unique<CAnalogChannel>(context.app.commandLineTimeoutMs.load());
    UnitIdentity identity;
    {
        // Once the panel has the channel, its close gives the unit up.
        const std::stop_callback giveUp(context.giveUp, [&opening = *channel] { opening.abandon(); });
        identity =
            ConnectAndIdentify(*channel, ModelAt(unit->modelRow), LocationOf(*unit), context.app.adapterAddress.load());
    }
    if (!identity.ok()) {
        view.showMessage(identity.failure);
        return {};
    }
    return RunContainerPanel(MakeAnalogPanel(view, std::move(context),
                                             ContainerPage{kind, identity.unitId, nullptr, nullptr},
                                             std::make_unique<AnalogLink>(std::move(channel), kAnalogCloseGrace)),
                             view, kind, period, kCommunicationError);
}

// An analog unit behind the gateway: on the run's link, checked as the main
// window's connect checks it, then its panel on its node with the unit ID
// the check reported.
LoggingPanel OpenGatewayAnalog(HeadlessPanelView& view, PanelContext context, const std::optional<std::string>& period)
{
    const GatewayUnit gateway = GatewayUnitOf(view, context);
    if (!gateway)
        return {};
    const UnitRecord& unit = *gateway.unit;
    const std::optional<int> unitId = CheckGatewayModel(*gateway.link, unit, view);
    if (!unitId)
        return {};
    const ContainerKind kind = PanelKindOf(ModelAt(unit.modelRow)).container;
    auto node = std::make_unique<NodeSession>(*gateway.link, unit.node, unit.replyTimeout);
    return RunContainerPanel(MakeGatewayAnalogPanel(view, std::move(context),
                                                    ContainerPage{kind, *unitId, nullptr, nullptr}, std::move(node)),
                             view, kind, period, kWirelessTimeout);
}

} // namespace

LoggingSupport LoggingFor(const UnitRecord& unit)
{
    const ModelRow& model = ModelAt(unit.modelRow);
    const PanelKind kind = PanelKindOf(model);
    if (kind.panel == PanelClass::None)
        return {{}, "\"" + Printable(unit.name) + "\" is of a model that no panel opens"};
    if (kind.panel == PanelClass::Container)
        return {TraitsOf(kind.container).viaGateway ? OpenGatewayAnalog : OpenAnalog, {}};
    if (model.inputCount == 0)
        return {{},
                "\"" + Printable(unit.name) + "\" (" + std::string(model.displayName) +
                    ") has no digital inputs; the panel logs only while it polls them"};
    return {kind.panel == PanelClass::DigitalGateway ? OpenGateway : OpenDigital, {}};
}

} // namespace vantel::ctl
