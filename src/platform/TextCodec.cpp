#include "platform/TextCodec.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <utility>

namespace vantel {
namespace {

std::string upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool isUtf8Name(const std::string& name)
{
    const std::string u = upper(name);
    return u == "UTF-8" || u == "UTF8";
}

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openConverter(const std::string& to, const std::string& from)
{
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    return IconvHandle(cd);
}

// Opening a converter costs far more than a short conversion, and logging
// converts every line: each thread keeps the converters it has used. A
// converter serves one conversion at a time, hence one set per thread.
void* cachedConverter(const std::string& to, const std::string& from)
{
    thread_local std::map<std::pair<std::string, std::string>, IconvHandle> converters;
    auto& slot = converters[{to, from}];
    if (!slot)
        slot = openConverter(to, from);
    if (slot)
        iconv(static_cast<iconv_t>(slot.get()), nullptr, nullptr, nullptr, nullptr);
    return slot.get();
}

// Runs one conversion. When `replacement` is given, input bytes that cannot be
// converted are skipped one at a time and the replacement is emitted instead.
std::optional<std::string> convert(const std::string& to, const std::string& from, std::string_view in,
                                   std::optional<std::string_view> replacement)
{
    void* const cd = cachedConverter(to, from);
    if (!cd)
        return std::nullopt;
    std::string out;
    out.reserve(in.size() * 2 + 8);
    char buffer[1024];
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(static_cast<iconv_t>(cd), &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (r != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (!replacement)
            return std::nullopt;
        // EILSEQ or EINVAL (truncated sequence): replace one byte and go on.
        out.append(*replacement);
        ++src;
        --srcLeft;
        iconv(static_cast<iconv_t>(cd), nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(static_cast<iconv_t>(cd), nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return out;
}

bool validUtf8(std::string_view s)
{
    return convert("UTF-8", "UTF-8", s, std::nullopt).has_value();
}

TextCodec& processCodec()
{
    static TextCodec codec;
    return codec;
}

} // namespace

std::size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

TextCodec::TextCodec(std::string codePage) : codePage_(std::move(codePage)), utf8_(isUtf8Name(codePage_)) {}

bool TextCodec::isSupported(const std::string& codePage)
{
    return isUtf8Name(codePage) || openConverter("UTF-8", codePage) != nullptr;
}

std::optional<std::string> TextCodec::encode(std::string_view utf8) const
{
    if (utf8_)
        return validUtf8(utf8) ? std::optional<std::string>(std::string(utf8)) : std::nullopt;
    return convert(codePage_, "UTF-8", utf8, std::nullopt);
}

std::string TextCodec::decode(std::string_view bytes) const
{
    return convert("UTF-8", utf8_ ? "UTF-8" : codePage_, bytes, std::string_view("\xEF\xBF\xBD"))
        .value_or(std::string());
}

std::optional<std::size_t> TextCodec::encodedLength(std::string_view utf8) const
{
    const auto encoded = encode(utf8);
    if (!encoded)
        return std::nullopt;
    return encoded->size();
}

std::string TextCodec::truncateToBytes(std::string_view utf8, std::size_t maxBytes) const
{
    if (const auto whole = encodedLength(utf8); whole && *whole <= maxBytes)
        return std::string(utf8);
    std::size_t used = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t len = std::min(Utf8SequenceLength(static_cast<unsigned char>(utf8[pos])), utf8.size() - pos);
        // A character the code page cannot hold is written as one replacement byte.
        const std::size_t bytes = encodedLength(utf8.substr(pos, len)).value_or(1);
        if (used + bytes > maxBytes)
            break;
        used += bytes;
        pos += len;
    }
    return std::string(utf8.substr(0, pos));
}

const TextCodec& FileCodec()
{
    return processCodec();
}

void SetFileCodec(const std::string& codePage)
{
    processCodec() = TextCodec(codePage);
}

} // namespace vantel
