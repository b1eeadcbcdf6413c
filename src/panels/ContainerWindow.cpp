#include "panels/ContainerWindow.h"

#include "panels/AnalogInputPage.h"
#include "panels/AnalogOutputPage.h"
#include "panels/CDlgQZK18.h"
#include "panels/CDlgQZK19.h"
#include "panels/CDlgQZK28.h"
#include "panels/CDlgQZK33.h"
#include "panels/DlgQZK17.h"
#include "panels/DlgQZK17V2.h"
#include "panels/PanelTexts.h"
#include "panels/StandInAnalogPanel.h"
#include "panels/WorkerLink.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantel {
namespace {

// A wired analog unit answers within milliseconds: closing gives it this
// long to answer what was queued before it is given up.
constexpr std::chrono::milliseconds kAnalogCloseGrace{100};
constexpr QSize kStandInPageSize{560, 300};

// The first tab until the panels of the analog kinds are built: the status
// line of the connected unit.
class StandInAnalogPage : public PanelPage {
public:
    StandInAnalogPage(PanelPageContext& context, PanelContext panelContext, int unitId) : PanelPage(context.parent)
    {
        resize(kStandInPageSize);
        auto* status = new QLabel(QStringLiteral("INFORMATION"), this);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(status, 0, Qt::AlignBottom | Qt::AlignLeft);
        context.window->bind(PanelId::Status, status);
        auto panel = MakePanel<StandInAnalogPanel>(
            *context.window, std::move(panelContext),
            ContainerPage{context.kind, unitId, context.canvas, context.graphPage}, std::move(context.link));
        panel_ = panel.get();
        context.window->setPanel(std::move(panel));
    }

    TabPanel& tabPanel() override { return *panel_; }
    StandInAnalogPanel& panel() { return *panel_; }

private:
    StandInAnalogPanel* panel_ = nullptr;
};

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
    // The gateway kinds have no panel on a link of their own yet.
    context.link = std::move(link);
    return Opened(new StandInAnalogPage(context, std::move(panelContext), unitId));
}

} // namespace

TabParentDialog* OpenAnalogContainer(UnitList& list, AppState& app, const UnitRecord& record,
                                     const ConnectRequest& request, std::unique_ptr<CAnalogChannel> channel, int unitId)
{
    const PanelKind kind = PanelKindOf(ModelAt(record.modelRow));
    PageAndPanel opened;
    // The page hands the link to its panel, which posts typed requests on it.
    auto link = std::make_unique<AnalogLink>(std::move(channel), kAnalogCloseGrace);
    auto* window = new TabParentDialog({kind.container, record.name}, nullptr, [&](PanelPageContext& context) {
        opened = MakeAnalogPage(context, ContextFor(list, app, record, request), unitId, std::move(link));
        return opened.page;
    });
    opened.panel->start();
    window->show();
    return window;
}

} // namespace vantel
