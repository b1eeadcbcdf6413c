#pragma once

#include "platform/GeneralFailure.h"
#include "platform/TextCodec.h"
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

// The registered units in display order and their list file. Operations
// return 0 or kGeneralFailure.
class UnitList {
public:
    static constexpr int kMaxUnits = 256;

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

    // -1 when no record has this id (it was deleted).
    int indexOf(UnitId id) const;
    UnitRecord* find(UnitId id);

    // True while any record has an open panel.
    bool anyPanelOpen() const;

private:
    bool validIndex(int index) const { return index >= 0 && index < count(); }

    std::string filePath_;
    const TextCodec* codec_;
    std::vector<UnitRecord> records_;
    UnitId nextId_ = 1;
};

} // namespace vantel
