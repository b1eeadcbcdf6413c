#pragma once

#include "platform/GeneralFailure.h"
#include "platform/TextCodec.h"
#include "registry/UnitListFile.h"
#include "registry/UnitRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantel {

// The name with \ / : * ? " < > | and control characters replaced by "_",
// fit for a file name.
std::string MakeLogName(std::string_view name);

// Channel defaults of a model row: "DO1"/"AO1"... names and neutral formulas.
void ApplyChannelDefaults(UnitRecord& record, int modelRow);

// A line of the list file that Load() could not take as a unit.
struct SkippedLine {
    int number = 0; // from 1
    LineFault fault;
};

// What the last Load() found beyond the units themselves.
struct ListReadReport {
    enum class File { Read, Missing, Unreadable };
    File file = File::Missing;
    std::string reason; // Unreadable: why
    std::vector<SkippedLine> skipped;
    int linesNotRead = 0; // unit lines after the 256th
    // Where the file as it was goes before the first save that would drop
    // the lines above.
    std::string keptCopy;

    bool unreadable() const { return file == File::Unreadable; }
    bool dropsLines() const { return !skipped.empty() || linesNotRead > 0; }
};

// The registered units in display order and their list file. Operations
// return 0 or kGeneralFailure.
//
// A list file that exists but cannot be read is never saved over: the
// user's units are in it. One whose lines could not all be read is kept
// beside itself, as it was, before the first save writes the list without them.
class UnitList {
public:
    static constexpr int kMaxUnits = 256;
    // Far more than 256 units of the longest lines take.
    static constexpr std::size_t kMaxFileBytes = 1024 * 1024;

    explicit UnitList(std::string filePath, const TextCodec& codec = FileCodec());

    int Load();
    int Save() const;
    // position -1 appends.
    int Add(int position, const UnitConnection& unit);
    int Change(int index, const UnitConnection& unit);
    int Delete(int index);
    int MoveUp(int index);
    int MoveDown(int index);
    bool IsLogNameFree(std::string_view name, int exceptIndex) const;

    int count() const { return static_cast<int>(records_.size()); }
    const UnitRecord& at(int index) const { return records_.at(static_cast<std::size_t>(index)); }
    UnitRecord& at(int index) { return records_.at(static_cast<std::size_t>(index)); }
    const std::string& filePath() const { return filePath_; }
    const TextCodec& codec() const { return *codec_; }
    const ListReadReport& readReport() const { return report_; }
    // True once a save has kept the file as it was (at readReport().keptCopy).
    bool copyKept() const { return copyKept_; }

    // -1 when no record has this id (it was deleted).
    int indexOf(UnitId id) const;
    UnitRecord* find(UnitId id);

    // True while any record has an open panel.
    bool anyPanelOpen() const;

private:
    bool validIndex(int index) const { return index >= 0 && index < count(); }

    std::string filePath_;
    const TextCodec* codec_;
    // Copies the file aside before the first save that would lose lines.
    bool keepUnreadLines() const;

    std::vector<UnitRecord> records_;
    UnitId nextId_ = 1;
    ListReadReport report_;
    mutable bool copyKept_ = false;
};

} // namespace vantel
