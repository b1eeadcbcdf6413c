#include "graph/LogFileProbe.h"

#include "graph/GraphTexts.h"
#include "graph/LogTimestamp.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace vantel {
namespace {

constexpr std::size_t kProbeBytes = 64 * 1024;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kShownHeaderBytes = 60;

std::string_view takeLine(std::string_view& text)
{
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    return line;
}

std::string shortened(const std::string& text)
{
    if (text.size() <= kShownHeaderBytes)
        return text;
    std::size_t cut = kShownHeaderBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut) + "…";
}

} // namespace

LogFileProbe ProbeLogFile(const std::string& path, const TextCodec& preferred)
{
    LogFileProbe probe;
    probe.path = path;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        probe.error = CannotOpenLogText(path);
        return probe;
    }
    std::string bytes(kProbeBytes, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(file.get());
        probe.size = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    }
    std::string_view rest(bytes);
    if (rest.starts_with(kUtf8Bom))
        rest.remove_prefix(kUtf8Bom.size());
    const std::string_view headerBytes = takeLine(rest);

    const TextCodec other(preferred.isUtf8() ? "CP932" : "UTF-8");
    for (const TextCodec* codec : {&preferred, &other}) {
        std::string header = codec->decode(headerBytes);
        if (auto layout = ParseLogHeader(header)) {
            probe.codePage = codec->codePage();
            probe.header = std::move(header);
            probe.layout = std::move(*layout);
            break;
        }
    }
    if (probe.codePage.empty()) {
        probe.error = NotOurLogText(path, kLogHeaderStart, shortened(preferred.decode(headerBytes)));
        return probe;
    }
    if (const auto lines = std::count(rest.begin(), rest.end(), '\n'); lines > 0)
        probe.bytesPerLine = static_cast<double>(rest.rfind('\n') + 1) / static_cast<double>(lines);
    const std::string_view firstLine = takeLine(rest);
    if (firstLine.empty())
        return probe;
    std::array<std::string_view, 2> dateTime;
    const std::size_t fields = SplitLogFields(firstLine, dateTime.data(), dateTime.size());
    LogTimestampReader timestamps;
    const auto time = fields >= 2 ? timestamps.read(dateTime[0], dateTime[1]) : std::nullopt;
    if (!time) {
        probe.error =
            DateTimeFormatText(path, kLogDateTimeFormat, shortened(TextCodec(probe.codePage).decode(firstLine)));
        return probe;
    }
    probe.firstTime = *time;
    return probe;
}

} // namespace vantel
