#include "dialogs/ListDialogs.h"

#include "comm/protocol/AnalogRanges.h"
#include "dialogs/DialogTexts.h"

namespace vantel {

CEditADCsps::CEditADCsps(ControlView& view)
    : ListChoiceLogic(view, {kAdcSpsCaption,
                             ADCspsId::Rate,
                             {"10sps", "16.6sps", "50sps", "60sps", "400sps", "1200sps", "3600sps", "14400sps"}})
{
}

CEditRange::CEditRange(ControlView& view)
    : ListChoiceLogic(view, {kOutputModeCaption,
                             RangeId::Mode,
                             {std::string(OutputModeOf(OutputMode::Voltage).text),
                              std::string(OutputModeOf(OutputMode::Current).text)},
                             RangeId::Output})
{
}

} // namespace vantel
