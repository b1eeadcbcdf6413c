#include "dialogs/EditAnalogCalcDialog.h"
#include "support/FakeControlView.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vantel;

TEST(EditAnalogCalcDialog, TypingFiltersAndOkReadsTheBoxes)
{
    EditAnalogCalcDialog dialog;
    dialog.logic().multiplier = 1;
    dialog.logic().graphMin = -10;
    dialog.logic().graphMax = 10;
    dialog.logic().unit = "V";
    dialog.show();
    auto* multiplier = qobject_cast<QLineEdit*>(dialog.controls().widget(AnalogCalcId::Multiplier));
    ASSERT_NE(multiplier, nullptr);
    EXPECT_EQ(multiplier->text(), QStringLiteral("1.000000"));

    multiplier->clear();
    // The filter's message box is modal: answer it when it opens.
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    QTest::keyClicks(multiplier, QStringLiteral("12a"));
    EXPECT_EQ(multiplier->text(), QStringLiteral("12"));
    EXPECT_EQ(shown, QStringLiteral("数字以外は入力できません"));

    auto* unit = qobject_cast<QLineEdit*>(dialog.controls().widget(AnalogCalcId::Unit));
    unit->setText(QStringLiteral("123456789"));
    EXPECT_EQ(unit->text(), QStringLiteral("12345678"));

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.logic().multiplier, 12);
    EXPECT_EQ(dialog.logic().unit, "12345678");
}

namespace {

// Answers the next modal dialog when it opens: accept or reject.
void answerNextDialog(bool accept)
{
    QTimer::singleShot(0, [accept] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            accept ? dialog->accept() : dialog->reject();
    });
}

} // namespace

TEST(EditAnalogCalcDialog, RunForRowAppliesOnOkOnlyAndStartsFromTheRowsFormula)
{
    ChannelFormula formula{2, 0.5, "bar"};
    double min = -1;
    double max = 1;
    test::FakeControlView messages;
    const AnalogCalcRow row{0, 2, false, &formula, &min, &max, {-1, 1}, {-10, 10}, nullptr, nullptr};

    answerNextDialog(false);
    EXPECT_FALSE(EditAnalogCalcDialog::RunForRow(nullptr, row, messages).has_value());
    EXPECT_EQ(formula.gain, 2);

    answerNextDialog(true);
    const auto applied = EditAnalogCalcDialog::RunForRow(nullptr, row, messages);
    ASSERT_TRUE(applied.has_value());
    EXPECT_EQ(applied->min, -1) << "the shown range came back unchanged";
    EXPECT_EQ(formula.gain, 2);
    EXPECT_EQ(formula.offset, 0.5);
    EXPECT_EQ(formula.unit, "bar");
    EXPECT_TRUE(messages.messages.empty());
}
