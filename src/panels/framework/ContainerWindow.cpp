#include "panels/framework/ContainerWindow.h"

#include "panels/analog/AnalogInputPage.h"
#include "panels/analog/AnalogOutputPage.h"
#include "panels/analog/CDlgQZK18.h"
#include "panels/analog/CDlgQZK19.h"
#include "panels/analog/CDlgQZK28.h"
#include "panels/analog/CDlgQZK33.h"
#include "panels/analog/DlgQZK17.h"
#include "panels/analog/DlgQZK17V2.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/WorkerLink.h"
#include "panels/gateway/CDlgQZK33_GW.h"
#include "panels/gateway/DlgQZK17_GW.h"
#include "panels/gateway/NodeSession.h"

namespace vantel {
namespace {

// A wired analog unit answers within milliseconds: closing gives it this
// long to answer what was queued before it is given up.
constexpr std::chrono::milliseconds kAnalogCloseGrace{100};

struct PageAndPanel {
    PanelPage* page = nullptr;
    ContainerPanel* panel = nullptr;
};

template <typename Page> PageAndPanel Opened(Page* page)
{
    return {page, &page->panel()};
}

// The first tab of each container kind of a unit on the LAN.
PageAndPanel MakeAnalogPage(PanelPageContext& context, PanelContext panelContext, int unitId,
                            std::unique_ptr<AnalogLink> link)
{
    switch (context.kind) {
    case ContainerKind::QZK33:
        return Opened(MakeAnalogOutputPage<CDlgQZK33>(context, std::move(panelContext), unitId, std::move(link)));
    case ContainerKind::QZK19:
        return Opened(MakeAnalogOutputPage<CDlgQZK19>(context, std::move(panelContext), unitId, std::move(link)));
    case ContainerKind::QZK18:
        return Opened(MakeAnalogOutputPage<CDlgQZK18>(context, std::move(panelContext), unitId, std::move(link)));
    case ContainerKind::QZK17:
        return Opened(MakeAnalogInputPage<DlgQZK17>(context, std::move(panelContext), unitId, std::move(link)));
    case ContainerKind::QZK17V2:
        return Opened(MakeAnalogInputPage<DlgQZK17V2>(context, std::move(panelContext), unitId, std::move(link)));
    case ContainerKind::QZK28:
        return Opened(MakeAnalogInputPage<CDlgQZK28>(context, std::move(panelContext), unitId, std::move(link)));
    case ContainerKind::QZK17Gateway:
    case ContainerKind::QZK33Gateway:
        break;
    }
    return {};
}

// The first tab of each container kind behind the gateway.
PageAndPanel MakeGatewayPage(PanelPageContext& context, PanelContext panelContext, int unitId,
                             std::unique_ptr<NodeSession> link)
{
    if (context.kind == ContainerKind::QZK33Gateway)
        return Opened(MakeAnalogOutputPage<CDlgQZK33_GW>(context, std::move(panelContext), unitId, std::move(link)));
    return Opened(MakeAnalogInputPage<DlgQZK17_GW>(context, std::move(panelContext), unitId, std::move(link)));
}

template <typename Link, typename PageMaker>
TabParentDialog* OpenContainer(UnitList& list, AppState& app, const UnitRecord& record, const ConnectRequest& request,
                               std::unique_ptr<Link> link, int unitId, PageMaker makePage)
{
    const PanelKind kind = PanelKindOf(ModelAt(record.modelRow));
    PageAndPanel opened;
    // The page hands the link to its panel, which talks to the unit through it.
    auto* window = new TabParentDialog({kind.container, record.name}, nullptr, [&](PanelPageContext& context) {
        opened = makePage(context, ContextFor(list, app, record, request), unitId, std::move(link));
        return opened.page;
    });
    opened.panel->start();
    window->show();
    return window;
}

} // namespace

TabParentDialog* OpenAnalogContainer(UnitList& list, AppState& app, const UnitRecord& record,
                                     const ConnectRequest& request, std::unique_ptr<CAnalogChannel> channel, int unitId)
{
    return OpenContainer(list, app, record, request,
                         std::make_unique<AnalogLink>(std::move(channel), kAnalogCloseGrace), unitId, MakeAnalogPage);
}

TabParentDialog* OpenGatewayContainer(UnitList& list, AppState& app, const UnitRecord& record,
                                      const ConnectRequest& request, CGatewayLink& gateway, int unitId)
{
    return OpenContainer(list, app, record, request,
                         std::make_unique<NodeSession>(gateway, record.node, record.replyTimeout), unitId,
                         MakeGatewayPage);
}

} // namespace vantel
