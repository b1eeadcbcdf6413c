#include "dialogs/CDlgQZK19Sweep.h"
#include "dialogs/DoAlertDiagramWidget.h"
#include "dialogs/EditDOAlertDialog.h"
#include "dialogs/EditThresholdDialog.h"
#include "dialogs/ListDialogs.h"
#include "dialogs/PanelSettingsDialog.h"
#include "support/MessageBoxAnswerer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace vantel;

namespace {

// Runs `act` on the next modal dialog once it is open.
void whenModalOpens(std::function<void(QDialog&)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            act(*dialog);
    });
}

template <typename Widget> Widget* control(SettingsWindow& window, int controlId)
{
    return qobject_cast<Widget*>(window.controls().widget(controlId));
}

template <typename Widget> Widget* control(QDialog& dialog, int controlId)
{
    auto* window = qobject_cast<SettingsWindow*>(&dialog);
    return window == nullptr ? nullptr : control<Widget>(*window, controlId);
}

} // namespace

TEST(SettingsWindows, ListDialogsShowTheIndexAndReturnTheChoiceOnlyOnOK)
{
    PanelSettingsDialog dialogs(nullptr);
    QString shown;
    whenModalOpens([&shown](QDialog& dialog) {
        auto* list = control<QComboBox>(dialog, ADCspsId::Rate);
        shown = list->currentText();
        list->setCurrentIndex(6);
        dialog.accept();
    });
    EXPECT_EQ(dialogs.editADCsps(4), 6);
    EXPECT_EQ(shown, QStringLiteral("400sps"));

    whenModalOpens([](QDialog& dialog) {
        control<QComboBox>(dialog, ADCspsId::Rate)->setCurrentIndex(1);
        dialog.reject();
    });
    EXPECT_EQ(dialogs.editADCsps(4), std::nullopt) << "Cancel";

    QString output;
    whenModalOpens([&shown, &output](QDialog& dialog) {
        shown = dialog.windowTitle();
        output = control<QLabel>(dialog, RangeId::Output)->text();
        dialog.accept();
    });
    EXPECT_EQ(dialogs.editRange(-1, "AO2: ポンプ"), std::nullopt) << "OK without a mode changes nothing";
    EXPECT_EQ(shown, QStringLiteral("V/I"));
    EXPECT_EQ(output, QStringLiteral("AO2: ポンプ")) << "the dialog says which output it sets";
}

TEST(SettingsWindows, ThermocoupleDialogKeepsTheBitsItDoesNotShow)
{
    PanelSettingsDialog dialogs(nullptr);
    bool compensation = false;
    bool detection = true;
    whenModalOpens([&](QDialog& dialog) {
        compensation = control<QCheckBox>(dialog, TCSettingId::ColdJunction)->isChecked();
        detection = control<QCheckBox>(dialog, TCSettingId::OpenCircuitDetection)->isChecked();
        control<QCheckBox>(dialog, TCSettingId::OpenCircuitDetection)->setChecked(true);
        control<QComboBox>(dialog, TCSettingId::OpenCircuitOutput)->setCurrentIndex(0);
        dialog.accept();
    });
    const auto sent = dialogs.editTCSetting({2, 0xF5});
    EXPECT_TRUE(compensation);
    EXPECT_FALSE(detection);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->type, 2);
    EXPECT_EQ(sent->setting, 0xF3);

    whenModalOpens([](QDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(dialogs.editTCSetting({2, 5}).has_value());
}

TEST(SettingsWindows, ThresholdBoxesAreFilteredWhileTyping)
{
    test::MessageBoxAnswerer boxes;
    EditThresholdDialog window;
    window.logic().low = 1;
    window.logic().high = 2;
    window.show();
    auto* high = control<QLineEdit>(window, ThresholdId::High);
    EXPECT_EQ(high->text(), QStringLiteral("2.000000"));
    high->clear();
    QTest::keyClicks(high, QStringLiteral("7x"));
    EXPECT_EQ(high->text(), QStringLiteral("7"));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, QStringLiteral("数字以外は入力できません"));
    control<QCheckBox>(window, ThresholdId::LedWhenOutside)->setChecked(true);
    window.accept();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.logic().high, 7);
    EXPECT_TRUE(window.logic().ledWhenOutside);

    PanelSettingsDialog dialogs(nullptr);
    whenModalOpens([](QDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(dialogs.editThreshold({1, 2, false}).has_value());
}

TEST(SettingsWindows, DOAlertRepaintsItsDiagramAndLabelsAsTheUserEdits)
{
    test::MessageBoxAnswerer boxes;
    EditDOAlertDialog window;
    CEditDOAlert& alert = window.logic();
    alert.rangeCodes = {2, 2, 2};
    alert.rawHigh = {16384, 0, 0};
    alert.rawLow = {-16384, 0, 0};
    window.show();
    DoAlertDiagramWidget& diagram = window.diagram();
    EXPECT_EQ(diagram.number(), 143);
    EXPECT_EQ(diagram.label(2)->text(), QStringLiteral(" 5.0002 V"));

    auto* high = control<QLineEdit>(window, DOAlertId::High);
    high->clear();
    QTest::keyClicks(high, QStringLiteral("50"));
    EXPECT_EQ(high->text(), QStringLiteral("10.000000"));
    EXPECT_EQ(diagram.number(), 157) << "High at the top of the scale";
    EXPECT_EQ(diagram.label(4)->text(), QStringLiteral("-5.0000 V"));
    EXPECT_EQ(diagram.label(2)->text(), QString());

    control<QComboBox>(window, DOAlertId::LedCondition)->setCurrentIndex(1);
    EXPECT_EQ(diagram.number(), 164);
    control<QComboBox>(window, DOAlertId::MonitoredAI)->setCurrentIndex(1);
    EXPECT_EQ(control<QLineEdit>(window, DOAlertId::High)->text(), QStringLiteral("0.000000"));
    EXPECT_EQ(diagram.number(), 174) << "AI2's equal thresholds, inside";
    EXPECT_TRUE(boxes.seen.empty());

    for (int k = 1; k <= 7; ++k)
        EXPECT_TRUE(diagram.rect().contains(diagram.label(k)->geometry())) << k;
}

TEST(SettingsWindows, DOAlertRunnerReturnsTheMonitoredAIsSettingsOnlyOnOK)
{
    PanelSettingsDialog dialogs(nullptr);
    DoAlertInputs inputs;
    inputs.rangeCodes = {2, 2, 2};
    inputs.rawHigh = {100, 200, 300};
    inputs.rawLow = {-100, -200, -300};
    inputs.ledConditions = {0, 0, 1};
    inputs.rawWidth = 10;
    whenModalOpens([](QDialog& dialog) {
        control<QComboBox>(dialog, DOAlertId::MonitoredAI)->setCurrentIndex(2);
        control<QComboBox>(dialog, DOAlertId::Direction)->setCurrentIndex(1);
        dialog.accept();
    });
    const auto result = dialogs.editDOAlert(inputs);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->monitoredAI, 2);
    EXPECT_EQ(result->ledCondition, 1);
    EXPECT_EQ(result->rawHigh, 300);
    EXPECT_EQ(result->rawLow, -300);
    EXPECT_EQ(result->rawWidth, 10);
    EXPECT_EQ(result->direction, 1);

    whenModalOpens([](QDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(dialogs.editDOAlert(inputs).has_value());
}

TEST(SettingsWindows, SweepStaysOpenWhileLowIsAboveHigh)
{
    test::MessageBoxAnswerer boxes;
    PanelSettingsDialog dialogs(nullptr);
    bool stayedOpen = false;
    QString unit;
    whenModalOpens([&](QDialog& dialog) {
        unit = control<QLabel>(dialog, SweepId::UnitOfV2)->text();
        auto* low = control<QLineEdit>(dialog, SweepId::V1);
        low->setText(QStringLiteral("10"));
        dialog.accept();
        stayedOpen = dialog.isVisible();
        auto* rise = control<QLineEdit>(dialog, SweepId::T1);
        rise->clear();
        QTest::keyClicks(rise, QStringLiteral("1234567"));
        low->setText(QStringLiteral("-1.5"));
        dialog.accept();
    });
    const auto sweep = dialogs.editSweep({1, 9, 30, 15}, "mA");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(unit, QStringLiteral("mA"));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, QStringLiteral("最小値＜最大値である必要があります。"));
    ASSERT_TRUE(sweep.has_value());
    EXPECT_EQ(sweep->v1, -1.5);
    EXPECT_EQ(sweep->v2, 9);
    EXPECT_EQ(sweep->t1, 123456) << "the box holds six characters";
    EXPECT_EQ(sweep->t2, 15);

    whenModalOpens([](QDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(dialogs.editSweep({1, 9, 30, 15}, "V").has_value());
}
