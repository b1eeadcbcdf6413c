#include "registry/AddChangeDialog.h"
#include "registry/UnitList.h"
#include "support/MessageBoxAnswerer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QValidator>
#include <gtest/gtest.h>

namespace vantel {
namespace {

using namespace AddChangeControl;

class AddChangeWindowTest : public ::testing::Test {
protected:
    template <class W> W* control(int id) const
    {
        auto* w = qobject_cast<W*>(dialog.control(id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }
    bool shown(int id) const { return dialog.control(id)->isVisibleTo(&dialog); }
    void type(int id, const char* text)
    {
        auto* edit = control<QLineEdit>(id);
        edit->clear();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }

    UnitList list{""};
    AddChangeDialog dialog{list, -1, CVantelAddChange::blankUnit()};
};

TEST_F(AddChangeWindowTest, ClickingTheGatewayCategoryShowsTheGatewayControls)
{
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ユニットの追加"));
    EXPECT_TRUE(control<QRadioButton>(CategoryOrvex)->isChecked());
    EXPECT_FALSE(shown(Node));
    EXPECT_FALSE(shown(ComPort));
    EXPECT_TRUE(shown(PortFrame));

    QTest::mouseClick(control<QRadioButton>(CategoryGateway), Qt::LeftButton);
    for (const int id : {NodeLabel, Node, Lan, Usb, ComPortLabel, ComPort, TimeoutLabel, Timeout})
        EXPECT_TRUE(shown(id)) << id;
    EXPECT_FALSE(shown(PortFrame));
    // The frame goes, the port controls it surrounds stay.
    EXPECT_TRUE(shown(PortCheck));
    EXPECT_TRUE(shown(ControlPort));
    EXPECT_EQ(control<QLabel>(HostLabel)->text(), QString::fromUtf8("QZ-GW10のホスト名 :"));
    EXPECT_EQ(control<QComboBox>(Model)->currentText(), "QZ-K13-GW");

    QTest::mouseClick(control<QRadioButton>(Usb), Qt::LeftButton);
    EXPECT_FALSE(control<QLineEdit>(Host)->isEnabled());
    EXPECT_TRUE(control<QComboBox>(ComPort)->isEnabled());
    EXPECT_TRUE(control<QRadioButton>(CategoryGateway)->isChecked()); // separate radio groups
}

TEST_F(AddChangeWindowTest, ModelChoiceAndPortBoxDriveThePortEdits)
{
    dialog.show();
    EXPECT_TRUE(shown(SecondPort)); // QZ-K11
    EXPECT_FALSE(control<QLineEdit>(ControlPort)->isEnabled());

    auto* model = control<QComboBox>(Model);
    model->setFocus();
    QTest::keyClick(model, Qt::Key_End); // QZ-K27: one port
    EXPECT_EQ(model->currentText(), "QZ-K27");
    EXPECT_FALSE(shown(SecondPort));
    EXPECT_FALSE(shown(SecondPortLabel));

    QTest::mouseClick(control<QCheckBox>(PortCheck), Qt::LeftButton);
    EXPECT_TRUE(control<QLineEdit>(ControlPort)->isEnabled());
    type(ControlPort, "1a0-0 25");
    EXPECT_EQ(control<QLineEdit>(ControlPort)->text(), "10025"); // digits only
    QString fullWidth = QString::fromUtf8("１");
    int position = 0;
    EXPECT_EQ(control<QLineEdit>(SecondPort)->validator()->validate(fullWidth, position), QValidator::Invalid);
}

TEST_F(AddChangeWindowTest, EnterRunsTheChecksAndEscapeCancels)
{
    dialog.show();
    test::MessageBoxAnswerer answerer;
    QTest::keyClick(control<QLineEdit>(Name), Qt::Key_Return);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, QString::fromUtf8("ユニット名称が未入力です。"));
    EXPECT_TRUE(dialog.isVisible());

    type(Name, "Line A");
    type(Host, "unit-a");
    QTest::keyClick(control<QLineEdit>(Host), Qt::Key_Return);
    EXPECT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values().name, "Line A");
    EXPECT_EQ(dialog.values().host, "unit-a");
    EXPECT_EQ(dialog.values().modelRow, 1);

    dialog.show();
    QTest::keyClick(control<QLineEdit>(Name), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

UnitConnection Stored(const char* name, const char* host, int modelRow)
{
    UnitConnection record;
    record.name = name;
    record.host = host;
    record.modelRow = modelRow;
    return record;
}

TEST(AddChangeDialogModels, ModelOfferedNowhereIsNamedInTheEmptyModelBox)
{
    UnitList list{""};
    const UnitConnection record = Stored("W3", "w3", 40);
    ASSERT_EQ(list.Add(-1, record), 0);
    AddChangeDialog dialog(list, 0, record);
    auto* model = qobject_cast<QComboBox*>(dialog.control(Model));
    EXPECT_EQ(model->currentIndex(), -1);
    EXPECT_EQ(model->placeholderText(), "QZ-K11-W3");
}

TEST(AddChangeDialogRun, ReturnsTheValuesOnlyWhenConfirmed)
{
    UnitList list{""};
    UnitConnection record = Stored("Tank", "gw", 35);
    record.connectionKind = kConnectionLan;
    record.node = 7;
    record.replyTimeout = 20;
    ASSERT_EQ(list.Add(-1, record), 0);

    const auto modal = [] { return qobject_cast<AddChangeDialog*>(QApplication::activeModalWidget()); };
    QTimer::singleShot(0, [&] {
        ASSERT_NE(modal(), nullptr);
        modal()->reject();
    });
    EXPECT_FALSE(AddChangeDialog::run(nullptr, list, 0, record).has_value());

    QTimer::singleShot(0, [&] {
        ASSERT_NE(modal(), nullptr);
        qobject_cast<QLineEdit*>(modal()->control(Node))->setText("8");
        qobject_cast<QPushButton*>(modal()->control(1))->click();
    });
    const auto changed = AddChangeDialog::run(nullptr, list, 0, record);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ(changed->node, 8);
    EXPECT_EQ(changed->modelRow, 35);
    EXPECT_EQ(changed->replyTimeout, 20);
    EXPECT_EQ(changed->host, "gw");
}

// Set VANTEL_SCREENSHOT_DIR to keep pictures of the dialog (docs/add-dialog*.png).
TEST_F(AddChangeWindowTest, RendersForScreenshots)
{
    const QString folder = qEnvironmentVariable("VANTEL_SCREENSHOT_DIR");
    const auto snap = [&](const char* file) {
        QCoreApplication::processEvents(); // let the layouts settle after shows and hides
        const QPixmap picture = dialog.grab();
        ASSERT_FALSE(picture.isNull());
        if (!folder.isEmpty()) {
            EXPECT_TRUE(picture.save(QDir(folder).filePath(file)));
        }
    };
    control<QLineEdit>(Name)->setText(QString::fromUtf8("第1ライン"));
    control<QLineEdit>(Host)->setText("192.168.0.10");
    dialog.show();
    snap("add-dialog.png");
    QTest::mouseClick(control<QRadioButton>(CategoryGateway), Qt::LeftButton);
    control<QLineEdit>(Node)->setText("12");
    snap("add-dialog-gateway.png");
}

} // namespace
} // namespace vantel
