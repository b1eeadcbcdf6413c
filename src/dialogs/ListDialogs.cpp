#include "dialogs/ListDialogs.h"

namespace vantel {

CEditADCsps::CEditADCsps(ControlView& view)
    : ListChoiceDialog(view, {kCaption,
                              ADCspsId::Rate,
                              {"10sps", "16.6sps", "50sps", "60sps", "400sps", "1200sps", "3600sps", "14400sps"}})
{
}

CEditRange::CEditRange(ControlView& view) : ListChoiceDialog(view, {kCaption, RangeId::Mode, {"±10V", "0-20mA"}}) {}

} // namespace vantel
