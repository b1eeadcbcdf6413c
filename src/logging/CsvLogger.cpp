#include "logging/CsvLogger.h"

#include "logging/CsvText.h"
#include "logging/LogFileName.h"
#include "platform/GeneralFailure.h"
#include "platform/LockedAppend.h"

#include <algorithm>

namespace vantel {

CsvLogger::CsvLogger(const TextCodec& codec) : codec_(codec) {}

void CsvLogger::Open(std::string baseName, std::string_view headerLine, int fileSwitchLines)
{
    const std::lock_guard lock(mutex_);
    baseName_ = std::move(baseName);
    header_ = fileBytes(headerLine);
    fileSwitchLines_ = fileSwitchLines;
    fileNumber_ = 0;
    linesInFile_ = 0;
    linesWritten_ = 0;
    currentFile_ = baseName_;
    if (switching()) {
        baseName_ = FreeSeriesBase(baseName_);
        fileNumber_ = 1;
        currentFile_ = NumberedLogFile(baseName_, fileNumber_);
    }
}

void CsvLogger::take(const Reading& reading)
{
    WriteLine(CsvDataLine(reading));
}

int CsvLogger::WriteLine(std::string_view line)
{
    const std::lock_guard lock(mutex_);
    if (currentFile_.empty() || !AppendLocked(currentFile_, header_, fileBytes(line)))
        return kGeneralFailure;
    ++linesWritten_;
    if (switching() && ++linesInFile_ >= fileSwitchLines_) {
        ++fileNumber_;
        linesInFile_ = 0;
        currentFile_ = NumberedLogFile(baseName_, fileNumber_);
    }
    return 0;
}

std::string CsvLogger::currentFileName() const
{
    const std::lock_guard lock(mutex_);
    return currentFile_;
}

int CsvLogger::fileNumber() const
{
    const std::lock_guard lock(mutex_);
    return fileNumber_;
}

int CsvLogger::linesInFile() const
{
    const std::lock_guard lock(mutex_);
    return linesInFile_;
}

long CsvLogger::linesWritten() const
{
    const std::lock_guard lock(mutex_);
    return linesWritten_;
}

namespace {

std::string withCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

// Text the code page cannot hold (a name typed with an unusual character)
// becomes "?" so the rest of the line is still recorded.
std::string CsvLogger::fileBytes(std::string_view utf8) const
{
    const std::string text = withCrLf(utf8);
    if (auto whole = codec_.encode(text))
        return *std::move(whole);
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t len = std::min(Utf8SequenceLength(static_cast<unsigned char>(text[pos])), text.size() - pos);
        out += codec_.encode(std::string_view(text).substr(pos, len)).value_or("?");
        pos += len;
    }
    return out;
}

} // namespace vantel
