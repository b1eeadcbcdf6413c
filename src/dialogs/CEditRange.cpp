#include "dialogs/CEditRange.h"

namespace vantel {

CEditRange::CEditRange(ControlView& view) : ListChoiceDialog(view, {kCaption, RangeId::Mode, {"±10V", "0-20mA"}}) {}

} // namespace vantel
