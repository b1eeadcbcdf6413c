#include "panels/AnalogPanels.h"

#include "panels/analog/CDlgQZK18.h"
#include "panels/analog/CDlgQZK19.h"
#include "panels/analog/CDlgQZK28.h"
#include "panels/analog/CDlgQZK33.h"
#include "panels/analog/DlgQZK17.h"
#include "panels/analog/DlgQZK17V2.h"
#include "panels/gateway/CDlgQZK33_GW.h"
#include "panels/gateway/DlgQZK17_GW.h"

namespace vantel {
namespace {

template <typename Panel, typename Link>
PanelPtr<ContainerPanel> Make(PanelView& view, PanelContext context, ContainerPage page, std::unique_ptr<Link> link)
{
    return MakePanel<Panel>(view, std::move(context), std::move(page), std::move(link));
}

} // namespace

PanelPtr<ContainerPanel> MakeAnalogPanel(PanelView& view, PanelContext context, ContainerPage page,
                                         std::unique_ptr<AnalogLink> link)
{
    switch (page.kind) {
    case ContainerKind::QZK17:
        return Make<DlgQZK17>(view, std::move(context), std::move(page), std::move(link));
    case ContainerKind::QZK17V2:
        return Make<DlgQZK17V2>(view, std::move(context), std::move(page), std::move(link));
    case ContainerKind::QZK19:
        return Make<CDlgQZK19>(view, std::move(context), std::move(page), std::move(link));
    case ContainerKind::QZK18:
        return Make<CDlgQZK18>(view, std::move(context), std::move(page), std::move(link));
    case ContainerKind::QZK28:
        return Make<CDlgQZK28>(view, std::move(context), std::move(page), std::move(link));
    case ContainerKind::QZK33:
        return Make<CDlgQZK33>(view, std::move(context), std::move(page), std::move(link));
    case ContainerKind::QZK17Gateway:
    case ContainerKind::QZK33Gateway:
        break;
    }
    return nullptr;
}

PanelPtr<ContainerPanel> MakeGatewayAnalogPanel(PanelView& view, PanelContext context, ContainerPage page,
                                                std::unique_ptr<NodeSession> link)
{
    if (page.kind == ContainerKind::QZK17Gateway)
        return Make<DlgQZK17_GW>(view, std::move(context), std::move(page), std::move(link));
    if (page.kind == ContainerKind::QZK33Gateway)
        return Make<CDlgQZK33_GW>(view, std::move(context), std::move(page), std::move(link));
    return nullptr;
}

PollingControls PollingControlsOf(ContainerKind kind)
{
    if (TraitsOf(kind).analogOutputs)
        return {AnalogOutputId::InputAuto, AnalogOutputId::InputPeriod};
    return {AnalogInputId::InputAuto, AnalogInputId::InputPeriod};
}

} // namespace vantel
