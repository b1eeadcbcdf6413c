#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantel {

// Converts between the UTF-8 text held in memory and the file code page
// (CP932 by default, so list files and logs stay interchangeable with
// existing installations). Byte limits of records count encoded bytes.
class TextCodec {
public:
    explicit TextCodec(std::string codePage = "CP932");

    const std::string& codePage() const { return codePage_; }
    bool isUtf8() const { return utf8_; }

    // nullopt when the text holds a character the code page cannot represent.
    std::optional<std::string> encode(std::string_view utf8) const;
    // Never fails: undecodable bytes become U+FFFD.
    std::string decode(std::string_view bytes) const;
    std::optional<std::size_t> encodedLength(std::string_view utf8) const;
    bool canEncode(std::string_view utf8) const { return encode(utf8).has_value(); }
    // Longest prefix, cut at a character boundary, whose encoding fits in maxBytes.
    std::string truncateToBytes(std::string_view utf8, std::size_t maxBytes) const;

    // True when the code page is known to the converter.
    static bool isSupported(const std::string& codePage);

private:
    std::string codePage_;
    bool utf8_;
};

// The process-wide file code page, chosen once at start-up before any thread runs.
const TextCodec& FileCodec();
void SetFileCodec(const std::string& codePage);

// Length in bytes of the UTF-8 sequence starting with `lead` (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char lead);

} // namespace vantel
