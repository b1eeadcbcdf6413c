#pragma once

#include "registry/ModelCatalogue.h"

namespace vantel {

enum class Dialect {
    Ascii,   // two letters, arguments, 0xC8; replies echo the letters in lower case
    TwoByte, // two bytes each way, no terminator
};

// Dialect of the unit channel for a catalogue row. Analog and gateway units
// always speak ASCII; digital units only in the eight-channel, K29 and third
// wireless lines.
Dialect DialectOf(const ModelRow& row);

// Row 1 writes and reads its outputs through one-shot nine-byte exchanges on
// the second port instead of the two-byte commands.
bool UsesNineByteOutputs(const ModelRow& row);

// Rows 2 and 3 carry two of their inputs in a nine-byte query on the second
// port, merged into the bits read with the two-byte dialect.
bool UsesNineByteExtraInputs(const ModelRow& row);

// Number of 4-bit groups in the digital channel's DO and DK commands.
int DigitalGroupCount(const ModelRow& row);

// Whether a digital-channel MI reply with model code 15 carries the real code in
// a further byte (every row but the gateway line).
bool ExtendsModelCode(const ModelRow& row);

} // namespace vantel
