#include "app/GatewayConnect.h"

#include "app/AppTexts.h"
#include "comm/link/GatewayConnectReply.h"
#include "comm/protocol/AsciiCommands.h"
#include "panels/framework/PanelTexts.h"
#include "panels/framework/UnitCheck.h"
#include "panels/gateway/GatewayPanelRules.h"
#include "panels/gateway/NodeSession.h"
#include "registry/ModelCatalogue.h"
#include "ui/ControlView.h"

#include <string>

namespace vantel {

bool GatewayConnect::openLink(const UnitRecord& record, std::uint32_t bindAddress, ControlView& view)
{
    const GatewayTransport wanted = GatewayTransportOf(record);
    const bool wasClosed = link_.state() == LinkState::Closed;
    if (!wasClosed && !link_.transport().sameGateway(wanted)) {
        view.showMessage(kOtherGateway);
        return false;
    }
    std::uint64_t generation = 0;
    {
        const std::lock_guard guard(replyMutex_);
        generation = ++waitGeneration_;
        reply_.reset();
    }
    registration_ = link_.registerNode(record.node, ConnectReplyHandler([this, generation](const auto& identity) {
                                           const std::lock_guard guard(replyMutex_);
                                           if (generation == waitGeneration_)
                                               reply_ = std::pair{identity.modelCode, identity.unitId};
                                       }));
    if (wasClosed) {
        GatewayOpenOptions options;
        options.bindAddress = Ipv4Address{bindAddress};
        if (const int error = link_.open(wanted, options)) {
            registration_.close();
            view.showMessage(ConnectErrorText(error));
            return false;
        }
    }
    return true;
}

void GatewayConnect::checkModel(UnitRecord& record, ControlView& view, const std::function<void()>& showDialog,
                                CheckedOpener opener)
{
    connecting_ = true;
    deadline_ = clock_.nowMs() + static_cast<std::int64_t>(record.replyTimeout) * 1000;
    handOver_ = DialogCreated;
    pendingUnit_ = record.id;
    opener_ = std::move(opener);
    if (showDialog)
        showDialog();
    if (const int error = link_.sendToNode(record.node, ascii::MD().bytes)) {
        endWait();
        handOver_ = DialogToClose;
        view.showMessage(CommunicationErrorText(error));
    }
}

bool GatewayConnect::dialogShouldClose()
{
    int expected = DialogToClose;
    return handOver_.compare_exchange_strong(expected, DialogCreated);
}

void GatewayConnect::onDialogCancelled()
{
    // A late "md" finds no entry for its node and is dropped.
    endWait();
}

void GatewayConnect::endWait()
{
    // Nothing is being connected any more: once no panel is open either, the
    // timer closes the link, so a unit of another gateway can be reached.
    connecting_ = false;
    deadline_ = 0;
    registration_.close();
    const std::lock_guard guard(replyMutex_);
    ++waitGeneration_;
    reply_.reset();
}

void GatewayConnect::onTimer(UnitList& list, ControlView& view)
{
    std::optional<std::pair<int, int>> reply;
    {
        const std::lock_guard guard(replyMutex_);
        reply.swap(reply_);
    }
    if (reply && deadline_ != 0)
        onModelReply(list, view, reply->first, reply->second);

    if (deadline_ != 0 && clock_.nowMs() > deadline_) {
        handOver_ = DialogToClose;
        endWait();
        view.showMessage(kGatewayConnectTimedOut);
    }

    if (link_.state() == LinkState::Closed || connecting_.load())
        return;
    for (int i = 0; i < list.count(); ++i)
        if (list.at(i).panelOpen)
            return;
    link_.close();
}

void GatewayConnect::onModelReply(UnitList& list, ControlView& view, int modelCode, int unitId)
{
    deadline_ = 0;
    handOver_ = DialogToClose;
    UnitRecord* record = list.find(pendingUnit_);
    const ModelRow* model = record ? &ModelAt(record->modelRow) : nullptr;
    if (!model || !model->isGateway() || model->modelCode != modelCode) {
        connecting_ = false;
        registration_.close();
        view.showMessage(kWrongModel);
        return;
    }
    if (opener_)
        opener_(*record, unitId);
    else
        connecting_ = false; // nothing opens that would take the connect over
    registration_.close();
}

} // namespace vantel
