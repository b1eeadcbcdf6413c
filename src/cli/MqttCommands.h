#pragma once

#include "cli/LogService.h"
#include "logging/ReadingPublisher.h"

#include <string>

namespace vantel::ctl {

// Output commands from the broker (`log --mqtt-commands`):
// PREFIX/UNIT/set/DOn with "1" or "0" switches a digital output (DO,
// relay) of a digital or gateway unit; PREFIX/UNIT/set/AOn with a number
// sets an analog output, in the row's current mode and through its formula
// as the panel's box takes it. Each runs through the panel's own action on
// the thread that plays the panel's GUI thread, as a click would, with the same checks. The outcome
// goes to PREFIX/UNIT/event as {"channel":"DO1","value":"1","result":"done"}
// or with "result":"refused" and a "reason".
class MqttCommands {
public:
    MqttCommands(LogService& service, ReadingPublisher& publisher) : service_(service), publisher_(publisher) {}

    // On the client library's thread.
    void onMessage(const std::string& topic, const std::string& payload);

private:
    LogService& service_;
    ReadingPublisher& publisher_;
};

} // namespace vantel::ctl
