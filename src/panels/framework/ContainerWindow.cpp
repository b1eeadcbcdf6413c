#include "panels/framework/ContainerWindow.h"

#include "panels/PanelKindTable.h"
#include "panels/analog/AnalogInputPage.h"
#include "panels/analog/AnalogOutputPage.h"

#include <stdexcept>
#include <variant>

namespace vantel {
namespace {

struct PageAndPanel {
    PanelPage* page = nullptr;
    ContainerPanel* panel = nullptr;
};

template <typename Page> PageAndPanel Opened(Page* page)
{
    return {page, &page->panel()};
}

// The panel a row made, as the class of its shape's direction, which is
// what every row's factory makes.
template <typename Panel> PanelPtr<Panel> Narrowed(PanelPtr<ContainerPanel> made)
{
    auto* panel = dynamic_cast<Panel*>(made.get());
    if (panel == nullptr)
        throw std::logic_error("a kind row's factory made a panel of the other direction");
    made.release();
    return PanelPtr<Panel>(panel);
}

// The first tab of a container kind: the page of the row's shape, with the
// panel the row makes on `link`.
PageAndPanel MakePage(const PanelKindRow& row, PanelPageContext& context, PanelContext panelContext, int unitId,
                      ContainerLinkSource link)
{
    const auto makePanel = [&](PanelContext c, ContainerPage page) {
        return row.makePanel(*context.window, std::move(c), std::move(page), std::move(link));
    };
    if (const auto* inputs = std::get_if<AnalogInputShape>(&row.shape))
        return Opened(new AnalogInputPage(
            context, std::move(panelContext), unitId, *inputs, [&](PanelContext c, ContainerPage page) {
                return Narrowed<AnalogInputPanel>(makePanel(std::move(c), std::move(page)));
            }));
    return Opened(new AnalogOutputPage(context, std::move(panelContext), unitId, std::get<AnalogOutputShape>(row.shape),
                                       [&](PanelContext c, ContainerPage page) {
                                           return Narrowed<AnalogOutputPanel>(makePanel(std::move(c), std::move(page)));
                                       }));
}

TabParentDialog* OpenContainer(UnitList& list, AppState& app, const UnitRecord& record, const ConnectRequest& request,
                               ContainerLinkSource link, int unitId)
{
    const PanelKindRow& row = *KindRowOf(ModelAt(record.modelRow));
    PageAndPanel opened;
    // The page hands the link to its panel, which talks to the unit through it.
    auto* window = new TabParentDialog({row.kind.container, record.name}, nullptr, [&](PanelPageContext& context) {
        opened = MakePage(row, context, ContextFor(list, app, record, request), unitId, std::move(link));
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
    return OpenContainer(list, app, record, request, {std::move(channel)}, unitId);
}

TabParentDialog* OpenGatewayContainer(UnitList& list, AppState& app, const UnitRecord& record,
                                      const ConnectRequest& request, CGatewayLink& gateway, int unitId)
{
    return OpenContainer(list, app, record, request, {nullptr, &gateway, record.node, record.replyTimeout}, unitId);
}

} // namespace vantel
