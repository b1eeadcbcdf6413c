#pragma once

#include "logging/Reading.h"
#include "platform/TextCodec.h"

#include <mutex>
#include <string>
#include <string_view>

namespace vantel {

// Appends the CSV lines of one panel to its log file, opening and closing the
// file for every line so other programs can read the log while it grows.
// With file switching on, a new numbered file (with the header again) starts
// after a fixed number of lines. Lines are UTF-8 text ending in "\n"; the
// file gets them in the file code page with CR LF. Safe to call from the
// panel's tick and its callbacks at once. As a reading sink it writes each
// reading as its line.
class CsvLogger : public ReadingSink {
public:
    static constexpr int kSwitchingOff = -1;

    explicit CsvLogger(const TextCodec& codec = FileCodec());

    // `baseName` is the whole file name when switching is off (fileSwitchLines
    // below 2); otherwise the name without its "_NNN.csv", made free (see
    // FreeSeriesBase) when a series of that name exists already.
    void Open(std::string baseName, std::string_view headerLine, int fileSwitchLines);
    // 0, or kGeneralFailure when the file could not be written: the line is
    // lost, nothing is shown and the next line is tried again.
    int WriteLine(std::string_view line);
    // WriteLine(CsvDataLine(reading)).
    void take(const Reading& reading) override;

    std::string currentFileName() const;
    int fileNumber() const;
    int linesInFile() const;
    // Lines written since Open, in all files together.
    long linesWritten() const;

private:
    bool switching() const { return fileSwitchLines_ > 1; }
    std::string fileBytes(std::string_view utf8) const;

    const TextCodec& codec_;
    mutable std::mutex mutex_;
    std::string baseName_;
    std::string currentFile_;
    std::string header_; // already in file bytes
    int fileSwitchLines_ = kSwitchingOff;
    int fileNumber_ = 0;
    int linesInFile_ = 0;
    long linesWritten_ = 0;
};

} // namespace vantel
