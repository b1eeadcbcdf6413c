#pragma once

#include "registry/CVantelAddChange.h"
#include "registry/UnitRecord.h"
#include "ui/ControlWindow.h"

#include <QDialog>

#include <optional>

namespace vantel {

class UnitList;

// The window of the unit add/change dialog; its rules live in CVantelAddChange.
class AddChangeDialog : public QDialog {
    Q_OBJECT
public:
    // editIndex -1 adds; see CVantelAddChange for the in-values.
    AddChangeDialog(const UnitList& list, int editIndex, const UnitConnection& in, QWidget* parent = nullptr);

    // Runs the dialog modally; the values the user confirmed, or nothing on cancel.
    // Adding: editIndex -1 with CVantelAddChange::blankUnit() or the proposed values;
    // changing: the record's index and the record itself.
    static std::optional<UnitConnection> run(QWidget* parent, const UnitList& list, int editIndex,
                                             const UnitConnection& in);

    // Valid after the dialog was accepted.
    const UnitConnection& values() const { return logic_.values(); }
    // The dialog's controls by id, for callers and tests that drive it.
    QWidget* control(int id) const { return view_.widget(id); }

    // Closes only when the entries pass the checks.
    void accept() override;

private:
    void buildLayout();
    void connectActions();

    ControlWindow view_;
    CVantelAddChange logic_;
};

} // namespace vantel
