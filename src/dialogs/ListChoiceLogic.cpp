#include "dialogs/ListChoiceLogic.h"

namespace vantel {

void ListChoiceLogic::onInitDialog()
{
    view_.setCaption(choice_.caption);
    if (choice_.subjectId != 0)
        view_.setText(choice_.subjectId, subject);
    view_.setItems(choice_.listId, choice_.items);
    const bool listed = index >= 0 && index < static_cast<int>(choice_.items.size());
    view_.setCurrentIndex(choice_.listId, listed ? index : -1);
}

void ListChoiceLogic::onOK()
{
    index = view_.currentIndex(choice_.listId);
}

} // namespace vantel
