#include "app/ListReadNotice.h"

#include "registry/RegistryTexts.h"

namespace vantel {
namespace {

// A damaged file may have many: the first ones say enough.
constexpr std::size_t kLinesNamed = 10;

std::string WhySkipped(const SkippedLine& line)
{
    const std::string where = std::to_string(line.number) + "行目: ";
    const LineFault& fault = line.fault;
    if (fault.kind == LineFault::Kind::UnknownModel)
        return where + "モデル番号 \"" + fault.modelField + "\" はありません";
    return where + "項目が " + std::to_string(fault.fields) + " 個しかありません (" +
           std::to_string(fault.fieldsNeeded) + " 個必要)";
}

} // namespace

std::string ListReadNotice(const UnitList& list)
{
    const ListReadReport& report = list.readReport();
    if (report.unreadable())
        return std::string(kListUnreadable) + "\n" + list.filePath() + "\n" + report.reason +
               "\nこのファイルには保存しません。";
    if (!report.dropsLines())
        return {};
    std::string notice = "ユニットリストの次の行は読み込めませんでした。\n" + list.filePath();
    for (std::size_t i = 0; i < report.skipped.size() && i < kLinesNamed; ++i)
        notice += "\n" + WhySkipped(report.skipped[i]);
    if (report.skipped.size() > kLinesNamed)
        notice += "\nほか " + std::to_string(report.skipped.size() - kLinesNamed) + " 行";
    if (report.linesNotRead > 0)
        notice += "\n" + std::to_string(UnitList::kMaxUnits) + " 台を超える " + std::to_string(report.linesNotRead) +
                  " 行は読み込んでいません";
    return notice + "\n最初に保存するとき、元のファイルを\n" + report.keptCopy + "\nとして残します。";
}

} // namespace vantel
