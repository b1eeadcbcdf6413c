#pragma once

#include "platform/TextCodec.h"

#include <cstddef>
#include <string_view>

namespace vantel {

// True when the text can go into a quoted field of the unit list file and read
// back unchanged: no double quote (fields are quoted without escapes), no comma
// (the reader splits at every comma), no control character (it would break the
// line) and nothing the file code page cannot represent.
bool IsListFieldText(std::string_view utf8, const TextCodec& codec);

// True when the text, encoded in the file code page, takes at most maxBytes.
bool FitsListField(std::string_view utf8, std::size_t maxBytes, const TextCodec& codec);

} // namespace vantel
