#pragma once

#include "comm/worker/AnalogRequests.h"
#include "panels/framework/PanelLink.h"
#include "registry/UnitRecord.h"

#include <string>

namespace vantel {

// Where a request comes from: the tick may wait for the unit, the GUI thread
// must not.
enum class Caller { GuiThread, Tick };

// What an analog panel asks of its unit, whichever way the unit is reached:
// a worker over the unit's own channel (units on the LAN) or a node session
// on the gateway link (units behind the gateway). GUI thread, except where a
// Caller says otherwise; the answers reach the panel on the link's threads.
class AnalogUnitLink : public PanelLink {
public:
    // The status line: where the unit is and the ID it reported.
    virtual std::string statusText(const UnitRecord& unit, int unitId) const = 0;
    // The start-up reads; the tick starts when they are in.
    virtual void startReads() = 0;
    // A link that runs a start-up sequence of its own (a node session) says
    // when it is done; the others have none.
    virtual bool startedUp() const { return true; }
    // The first step of every tick, even while a message box is up.
    virtual void checkReplies() {}
    // Never waits. A request the link cannot carry is answered as failed,
    // never dropped.
    virtual void post(analog::Request request) = 0;
};

// Answers `request` as an exchange that failed (its callback gets no value).
void FailRequest(analog::Request& request);

} // namespace vantel
