#pragma once

#include "comm/protocol/AsciiReplies.h"
#include "comm/protocol/ReplyShape.h"
#include "registry/ModelCatalogue.h"

#include <optional>
#include <string_view>

namespace vantel::twobyte {

// Digital units outside the ASCII dialect: two bytes each way, no terminator.

inline constexpr std::size_t kReplyLength = 2;

Request WriteOutputs(int outputBits);
Request ReadOutputs();
Request ReadInputs();
Request ModelQuery();

// Write acknowledgement: only its length is checked.
bool ParseWriteOutputs(std::string_view reply);
std::optional<int> ParseReadOutputs(std::string_view reply);
// Serial-interface rows report two inputs in the second byte; the others
// five inputs in bits 7-11 of the little-endian reply word.
std::optional<int> ParseReadInputs(std::string_view reply, const ModelRow& row);
// Model code -1 means the reply names no known model.
std::optional<ascii::UnitIdentity> ParseModelQuery(std::string_view reply);

} // namespace vantel::twobyte
