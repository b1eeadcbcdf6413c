#pragma once

#include "comm/worker/AnalogRequests.h"
#include "dialogs/CEditTCSetting.h"
#include "dialogs/CEditThreshold.h"
#include "panels/framework/PanelLink.h"
#include "registry/UnitRecord.h"

#include <string>

namespace vantel {

class AnalogInputPanel;
class AnalogOutputPanel;

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
    // The first step of every tick, even while a message box is up.
    virtual void checkReplies() {}
    // Never waits. A request the link cannot carry is answered as failed,
    // never dropped.
    virtual void post(analog::Request request) = 0;
};

// The requests of an analog-input panel.
class AnalogInputLink : public AnalogUnitLink {
public:
    // From the panel's constructor: where the answers go.
    virtual void attach(AnalogInputPanel& panel) = 0;
    // `bits` is every output's wanted state, `changed` those to switch.
    virtual void sendOutputs(int bits, int changed, Caller caller) = 0;
    virtual void sendInputRead(Caller caller) = 0;
    // False while the outputs' states are not known: they are then not switched.
    virtual bool outputsKnown() const { return true; }
    virtual void sendRange(int row, int range, int previous) = 0;
    virtual void sendThresholds(int row, const RawThresholds& raw, int mode) = 0;
    virtual void sendThermocouple(int row, const ThermocoupleSetting& setting) = 0;
};

// The requests of an analog-output panel.
class AnalogOutputLink : public AnalogUnitLink {
public:
    // From the panel's constructor: where the answers go.
    virtual void attach(AnalogOutputPanel& panel) = 0;
    virtual void sendOutput(int row, int mode, int raw, bool wasSweeping, Caller caller) = 0;
    // `flag`: the panel's start-up or periodic read, handed back with the answer.
    virtual void sendInputRead(int flag, Caller caller) = 0;
    virtual void sendThresholds(int row, const RawThresholds& raw, int thresholdMode) = 0;
    // The last step of every tick that did its work.
    virtual void tickDone() {}
};

// Answers `request` as an exchange that failed (its callback gets no value).
void FailRequest(analog::Request& request);

} // namespace vantel
