#include "support/StandInAnalogPanel.h"

#include "panels/analog/AnalogWorkerLinks.h"

namespace vantel {
namespace {

// The panel's unit link over the link it was handed: it stops and releases
// that link, shows the unit as a worker link does, and asks the unit nothing.
class StandInLink final : public AnalogUnitLink {
public:
    explicit StandInLink(std::unique_ptr<PanelLink> handed) : handed_(std::move(handed)) {}

    std::string statusText(const UnitRecord& unit, int unitId) const override { return WorkerStatusText(unit, unitId); }
    void startReads() override {}
    void post(analog::Request request) override { FailRequest(request); }
    void stop() override { handed_->stop(); }
    void release() override { handed_->release(); }

private:
    std::unique_ptr<PanelLink> handed_;
};

} // namespace

StandInAnalogPanel::StandInAnalogPanel(PanelView& view, PanelContext context, ContainerPage page,
                                       std::unique_ptr<PanelLink> link)
    : ContainerPanel(view, std::move(context), std::move(page), std::make_unique<StandInLink>(std::move(link)))
{
}

StandInAnalogPanel::~StandInAnalogPanel()
{
    // Deleted without PanelDeleter: the threads still have to stop while
    // the link exists.
    shutDown();
}

void StandInAnalogPanel::start()
{
    markUnitOpen();
    showTitle(false);
    showStatus(statusText());
    restoreWindowPosition();
    startTicking();
}

} // namespace vantel
