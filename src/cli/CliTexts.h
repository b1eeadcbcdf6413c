#pragma once

#include "registry/ModelCatalogue.h"

#include <string>

// What vantelctl says that more than one of its commands says, and its
// short forms of the program's messages.
namespace vantel::ctl {

// The program's message without the hint about cables and Wi-Fi.
inline constexpr const char* kNoAdapterFound = "ネットワークデバイスが見つかりません。";

inline constexpr const char* kNoDigitalInputs = "this model has no digital inputs";
inline constexpr const char* kNoDigitalOutputs = "this model has no digital outputs";
inline constexpr const char* kNoAnalogInputs = "this model has no analog inputs";
inline constexpr const char* kNoAnalogOutputs = "this model has no analog outputs";

inline std::string ModelRowUsage()
{
    return "--model needs a catalogue row from 0 to " + std::to_string(kModelCount - 1);
}
// The BITS of "write ... do BITS" for a unit with `outputs` outputs.
inline std::string BitsUsage(int outputs)
{
    return "BITS must be 0/1 for at most " + std::to_string(outputs) + " outputs, output 1 first";
}

} // namespace vantel::ctl
