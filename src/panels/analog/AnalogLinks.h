#pragma once

#include "dialogs/CEditTCSetting.h"
#include "dialogs/CEditThreshold.h"
#include "panels/framework/AnalogUnitLink.h"

namespace vantel {

class AnalogInputPanel;
class AnalogOutputPanel;

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
    // What the unit keeps in its configuration memory about its outputs,
    // where the link reads it (a node behind the gateway): the byte, and
    // whether an output pulses rather than latches.
    virtual int configurationByte() const { return 0; }
    virtual bool pulses(int /*output*/) const { return false; }
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
    // True while commands of earlier ticks are still on their way (a node on
    // the radio); a link that waits for each answer has none.
    virtual bool tickCommandsPending() const { return false; }
};

} // namespace vantel
