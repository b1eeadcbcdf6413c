#include "cli/LoggablePanels.h"

#include "panels/CVantelDIGITAL.h"
#include "registry/ModelCatalogue.h"

namespace vantel::ctl {
namespace {

// The digital panel with its logger in reach of whoever runs it headless.
class LoggingDigitalPanel final : public CVantelDIGITAL {
public:
    using CVantelDIGITAL::CVantelDIGITAL;
    using PanelBase::logger;
};

LoggingPanel OpenDigital(HeadlessPanelView& view, PanelContext context, const std::optional<std::string>& period)
{
    auto panel = MakePanel<LoggingDigitalPanel>(view, std::move(context));
    if (!panel->start())
        return {};
    if (period)
        view.setText(DigitalId::InputPeriod, *period);
    view.setChecked(DigitalId::InputAuto, true);
    panel->onAutoClicked(DigitalId::InputAuto);
    if (!view.isChecked(DigitalId::InputAuto)) {
        view.closeAndWait(*panel);
        return {};
    }
    const CsvLogger* log = &panel->logger();
    return {PanelPtr<PanelBase>(panel.release()), log};
}

} // namespace

LoggingSupport LoggingFor(const UnitRecord& unit)
{
    const ModelRow& model = ModelAt(unit.modelRow);
    if (model.isAnalog() || model.isGateway())
        return {{},
                "\"" + unit.name + "\" is a " + std::string(model.displayName) +
                    ", not a digital unit on the LAN; vantelctl log runs the digital panel only"};
    if (model.inputCount == 0)
        return {{},
                "\"" + unit.name + "\" (" + std::string(model.displayName) +
                    ") has no digital inputs; the panel logs only while it polls them"};
    return {OpenDigital, {}};
}

} // namespace vantel::ctl
