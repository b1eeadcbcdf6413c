#pragma once

#include "comm/protocol/ReplyShape.h"

#include <optional>
#include <string_view>

namespace vantel::ninebyte {

// One-shot exchanges on the second port of two-port units: nine bytes out,
// five bytes back, a fresh connection per request.

inline constexpr std::size_t kCommandLength = 9;
inline constexpr std::size_t kReplyLength = 5;

Request WriteOutputs(int outputBits);
// Reads the outputs (row 1) or the extra inputs (rows 2 and 3): same bytes.
Request Query();

bool ParseWriteOutputs(std::string_view reply);
std::optional<int> ParseReadOutputs(std::string_view reply);
// Input bits 5 and 6, to be OR-ed into the two-byte dialect's input bits.
std::optional<int> ParseExtraInputs(std::string_view reply);

} // namespace vantel::ninebyte
