#pragma once

#include "comm/link/CGatewayLink.h"
#include "platform/Clock.h"
#include "registry/UnitList.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

namespace vantel {

class ControlView;

// The main window's side of the gateway link: the transport check, the
// link's open, and for analog units behind the gateway the "MD" model check
// with its deadline and the progress dialog CConnecting. GUI thread, except
// the "md" reply, which arrives on the link's receive thread and is taken up
// by the next onTimer().
class GatewayConnect {
public:
    // Hand-over with the progress dialog.
    enum HandOver { DialogCreated = 0, DialogShown = 1, DialogToClose = 2 };
    // The "md" reply matched the unit: open its panel with the unit ID.
    using CheckedOpener = std::function<void(UnitRecord& record, int unitId)>;

    GatewayConnect(CGatewayLink& link, const Clock& clock) : link_(link), clock_(clock) {}

    // Steps up to the open link: false when the unit uses another gateway
    // than the running link, or the link could not be opened (the user was
    // told why). On true the main window's entry for the node is in place.
    // The link's connect waits its own fixed time, not the -T time-out.
    bool openLink(const UnitRecord& record, std::uint32_t bindAddress, ControlView& view);

    // After openLink(): sends "MD" to the node and waits for its reply until
    // the unit's reply-wait time-out. `showDialog` opens CConnecting;
    // `opener` runs when the reply names the unit's model.
    void checkModel(UnitRecord& record, ControlView& view, const std::function<void()>& showDialog,
                    CheckedOpener opener);

    // A digital unit's panel has taken its node over: the main window's
    // entry goes.
    void handedOver() { registration_.close(); }

    // CConnecting: shown; polled every 100 ms (true: close now); cancelled.
    void onDialogShown() { handOver_ = DialogShown; }
    bool dialogShouldClose();
    void onDialogCancelled();

    // The main window's 100 ms timer: the "md" reply, the deadline and the
    // link's close once no gateway unit is open or being connected.
    void onTimer(UnitList& list, ControlView& view);
    // The main window closes.
    void shutDown() { link_.close(); }

    bool connecting() const { return connecting_.load(); }
    void clearConnecting() { connecting_ = false; }
    bool waitingForReply() const { return deadline_ != 0; }
    int handOver() const { return handOver_.load(); }
    CGatewayLink& link() { return link_; }

private:
    void onModelReply(UnitList& list, ControlView& view, int modelCode, int unitId);
    void endWait();

    CGatewayLink& link_;
    const Clock& clock_;
    GatewayNode registration_; // the main window's entry during a connect
    std::atomic<bool> connecting_{false};
    std::atomic<int> handOver_{DialogCreated};
    std::int64_t deadline_ = 0; // 0: none
    UnitId pendingUnit_ = 0;
    CheckedOpener opener_;

    // Written by the receive thread, taken by the timer.
    std::mutex replyMutex_;
    std::optional<std::pair<int, int>> reply_; // model code, unit ID
    std::uint64_t waitGeneration_ = 0;         // a reply for an ended wait is dropped
};

} // namespace vantel
