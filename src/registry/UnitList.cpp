#include "registry/UnitList.h"

#include "platform/AtomicFile.h"
#include "platform/BoundedFileRead.h"
#include "platform/FileStamp.h"
#include "registry/ModelCatalogue.h"
#include "registry/UnitListFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vantel {

std::string MakeLogName(std::string_view name)
{
    // Multi-byte characters never contain these ASCII bytes in UTF-8, so a
    // byte-wise replacement leaves every double-byte character whole.
    std::string logName(name);
    for (char& c : logName) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = '_';
            continue;
        }
        switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            c = '_';
            break;
        default:
            break;
        }
    }
    return logName;
}

void ApplyChannelDefaults(UnitRecord& record, int modelRow)
{
    const ModelRow& model = ModelAt(modelRow);
    const char* outputPrefix = model.has(ModelFlag::AnalogOutputs) ? "AO" : "DO";
    const char* inputPrefix = model.has(ModelFlag::AnalogInputs) ? "AI" : "DI";
    for (int i = 0; i < kChannelsPerSide; ++i) {
        record.outputNames[i] = i < model.outputCount ? outputPrefix + std::to_string(i + 1) : std::string();
        record.inputNames[i] = i < model.inputCount ? inputPrefix + std::to_string(i + 1) : std::string();
        record.outputFormulas[i] = ChannelFormula{};
        record.inputFormulas[i] = ChannelFormula{};
    }
}

UnitList::UnitList(std::string filePath, const TextCodec& codec) : filePath_(std::move(filePath)), codec_(&codec) {}

namespace {

// The next line, whichever of CR LF, LF or CR ends it.
std::string_view NextLine(std::string_view& rest)
{
    const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
    const std::string_view line = rest.substr(0, end);
    std::size_t next = end;
    if (next < rest.size())
        next += rest.compare(next, 2, "\r\n") == 0 ? 2 : 1;
    rest.remove_prefix(next);
    return line;
}

bool IsBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

ListReadReport::File FileStatusOf(BoundedRead::Status status)
{
    switch (status) {
    case BoundedRead::Status::Read:
        return ListReadReport::File::Read;
    case BoundedRead::Status::Unreadable:
        return ListReadReport::File::Unreadable;
    case BoundedRead::Status::Missing:
        break;
    }
    return ListReadReport::File::Missing;
}

} // namespace

int UnitList::Load()
{
    if (filePath_.empty())
        return kGeneralFailure;
    records_.clear();
    report_ = {};
    copyKept_ = false;
    const BoundedRead read = ReadRegularFile(filePath_, kMaxFileBytes);
    report_.file = FileStatusOf(read.status);
    report_.reason = read.reason;
    if (read.status != BoundedRead::Status::Read)
        return kGeneralFailure;
    std::string_view rest(read.bytes);
    for (int number = 1; !rest.empty(); ++number) {
        const std::string_view line = NextLine(rest);
        if (IsBlank(line))
            continue;
        if (const auto fault = FindLineFault(line)) {
            report_.skipped.push_back({number, *fault});
            continue;
        }
        if (count() >= kMaxUnits) {
            ++report_.linesNotRead;
            continue;
        }
        UnitRecord record = ParseUnitLine(line, *codec_);
        record.id = nextId_++;
        records_.push_back(std::move(record));
    }
    if (report_.dropsLines())
        report_.keptCopy = filePath_ + ".unread-" + LocalFileStamp();
    return report_.linesNotRead > 0 ? kGeneralFailure : 0;
}

bool UnitList::keepUnreadLines() const
{
    if (!report_.dropsLines() || copyKept_)
        return true;
    std::error_code error;
    std::filesystem::copy_file(filePath_, report_.keptCopy, error);
    copyKept_ = !error;
    return copyKept_;
}

int UnitList::Save() const
{
    if (filePath_.empty() || report_.unreadable() || !keepUnreadLines())
        return kGeneralFailure;
    std::string contents;
    for (const UnitRecord& record : records_) {
        contents += FormatUnitLine(record, *codec_);
        contents += "\r\n";
    }
    return WriteFileAtomically(filePath_, contents) ? 0 : kGeneralFailure;
}

int UnitList::Add(int position, const UnitConnection& unit)
{
    if (count() >= kMaxUnits)
        return kGeneralFailure;
    if (position < 0 || position > count())
        position = count();
    UnitRecord record;
    static_cast<UnitConnection&>(record) = unit;
    record.id = nextId_++;
    record.logName = MakeLogName(unit.name);
    ApplyChannelDefaults(record, unit.modelRow);
    records_.insert(records_.begin() + position, std::move(record));
    return 0;
}

int UnitList::Change(int index, const UnitConnection& unit)
{
    if (!validIndex(index))
        return kGeneralFailure;
    UnitRecord& record = at(index);
    if (record.modelRow != unit.modelRow)
        ApplyChannelDefaults(record, unit.modelRow);
    static_cast<UnitConnection&>(record) = unit;
    record.logName = MakeLogName(unit.name);
    return 0;
}

int UnitList::Delete(int index)
{
    if (!validIndex(index))
        return kGeneralFailure;
    records_.erase(records_.begin() + index);
    return 0;
}

int UnitList::MoveUp(int index)
{
    if (!validIndex(index) || index == 0)
        return kGeneralFailure;
    std::swap(at(index), at(index - 1));
    return 0;
}

int UnitList::MoveDown(int index)
{
    if (!validIndex(index) || index + 1 >= count())
        return kGeneralFailure;
    std::swap(at(index), at(index + 1));
    return 0;
}

bool UnitList::IsLogNameFree(std::string_view name, int exceptIndex) const
{
    const std::string logName = MakeLogName(name);
    for (int i = 0; i < count(); ++i) {
        if (i != exceptIndex && at(i).logName == logName)
            return false;
    }
    return true;
}

int UnitList::indexOf(UnitId id) const
{
    for (int i = 0; i < count(); ++i) {
        if (at(i).id == id)
            return i;
    }
    return -1;
}

UnitRecord* UnitList::find(UnitId id)
{
    const int index = indexOf(id);
    return index < 0 ? nullptr : &at(index);
}

bool UnitList::anyPanelOpen() const
{
    return std::any_of(records_.begin(), records_.end(), [](const UnitRecord& r) { return r.panelOpen; });
}

} // namespace vantel
