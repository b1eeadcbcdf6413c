#include "dialogs/EditAnalogCalcDialog.h"

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
