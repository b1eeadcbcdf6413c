#include "panels/framework/ContainerPanel.h"

#include "graph/DisplayPeriod.h"

namespace vantel {

ContainerPanel::ContainerPanel(PanelView& view, PanelContext context, ContainerPage page,
                               std::unique_ptr<PanelLink> link)
    : PanelBase(view, std::move(context)), page_(std::move(page)), link_(std::move(link))
{
}

void ContainerPanel::selectDisplayPeriod(int index)
{
    if (canvas() != nullptr && ApplyDisplayPeriod(*canvas(), index))
        canvas()->Refresh();
}

void ContainerPanel::refreshGraph()
{
    if (canvas() != nullptr)
        canvas()->Refresh();
}

} // namespace vantel
