#include "search/SearchDialog.h"
#include "DiscoveryResponder.h"
#include "SimUnit.h"
#include "app/MainWindow.h"
#include "registry/AddChangeDialog.h"
#include "registry/UnitList.h"
#include "support/MessageBoxAnswerer.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vantel {
namespace {

namespace Id = SearchControl;

QPushButton* Button(ControlView& controls, int id)
{
    return static_cast<QPushButton*>(static_cast<ControlWindow&>(controls).widget(id));
}

// Confirms the unit dialogs the search opens, keeping the name it proposed.
class AddDialogConfirmer : public QObject {
public:
    AddDialogConfirmer()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* dialog = qobject_cast<AddChangeDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            proposedNames.push_back(static_cast<QLineEdit*>(dialog->control(AddChangeControl::Name))->text());
            dialog->accept();
        });
        timer_.start(5);
    }
    QStringList proposedNames;

private:
    QTimer timer_;
};

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim::UnitConfig config;
        config.row = 5; // QZ-K14, two-byte dialect, model code 4
        unit = std::make_unique<sim::SimUnit>(config);
        unit->start();
        sim::DiscoveryUnitConfig x1;
        x1.family = 'X';
        x1.subLetter = '1';
        x1.mac = {0x00, 0x80, 0x4C, 0xA1, 0xB2, 0xC3};
        x1.controlPort = unit->port();
        responder.addUnit(x1);
        sim::DiscoveryUnitConfig b;
        b.family = '_';
        b.subLetter = 'B';
        b.modelByte = 9;
        b.mac = {0x00, 0x80, 0x4C, 0x00, 0x00, 0x07};
        responder.addUnit(b);
        responder.start();

        state.adapterAddress = LoopbackAddress();
        state.commandLineTimeoutMs = 500;
        ASSERT_TRUE(window.start({LoopbackAdapter()}));
        window.setSearchTarget(target());
    }

    DatagramAddress target() const { return {LoopbackAddress(), responder.probePort()}; }

    static bool searchDone(SearchDialog& dialog, int rows)
    {
        return dialog.logic().state() == CORVEXSearch::Idle && dialog.foundUnits()->topLevelItemCount() == rows;
    }

    QTemporaryDir folder;
    UnitList list{QDir(folder.path()).filePath("units.dat").toStdString()};
    AppState state;
    MainWindow window{list, state, folder.path().toStdString()};
    std::unique_ptr<sim::SimUnit> unit;
    sim::DiscoveryResponder responder;
    test::MessageBoxAnswerer messages;
};

TEST_F(SearchWindowTest, MainWindowButtonOpensTheSearchWhichListsTheSimulatedUnits)
{
    QPushButton* button = Button(window.controls(), MainId::Search);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    bool listed = false;
    QString caption;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<SearchDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        caption = dialog->windowTitle();
        if (searchDone(*dialog, 2)) {
            listed = dialog->foundUnits()->topLevelItem(1)->text(2) == "QZ-K19-P";
            dialog->reject();
        }
    });
    driver.start(10);
    button->click(); // returns when the modal dialog closed
    EXPECT_EQ(caption, "ORVEXの検索");
    EXPECT_TRUE(listed);
    EXPECT_TRUE(messages.seen.empty());
}

TEST_F(SearchWindowTest, AddsAFoundUnitWithTheProposedNameAndGreysIt)
{
    SearchDialog dialog(list, state, target(), &window);
    window.show();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return searchDone(dialog, 2); }, 10000));
    QTreeWidget* rows = dialog.foundUnits();
    EXPECT_EQ(rows->topLevelItem(0)->text(0), "00-80-4C-A1-B2-C3");
    EXPECT_EQ(rows->topLevelItem(0)->text(1), "127.0.0.1");
    EXPECT_EQ(rows->topLevelItem(0)->text(2), "X1");
    EXPECT_EQ(rows->topLevelItem(0)->foreground(0).color(), QColor(Qt::black));

    // While searching again the dialog cannot be closed, not even by Escape.
    QTest::mouseClick(Button(dialog.controls(), Id::Research), Qt::LeftButton);
    EXPECT_EQ(dialog.logic().state(), CORVEXSearch::Searching);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return searchDone(dialog, 2); }, 10000));

    AddDialogConfirmer confirmer;
    rows->setCurrentItem(rows->topLevelItem(0));
    EXPECT_EQ(dialog.logic().state(), CORVEXSearch::RowSelected);
    QTest::mouseClick(Button(dialog.controls(), Id::Add), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.logic().state() == CORVEXSearch::Idle; }, 10000));

    ASSERT_EQ(confirmer.proposedNames, QStringList{"QZ-K14_A1B2C3"});
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.at(0).name, "QZ-K14_A1B2C3");
    EXPECT_EQ(list.at(0).host, "127.0.0.1");
    EXPECT_EQ(list.at(0).controlPort, unit->port());
    EXPECT_EQ(list.at(0).modelRow, 5);
    ASSERT_EQ(messages.seen.size(), 1u);
    EXPECT_EQ(messages.seen[0].text, "指定のデバイスを追加しました。");
    EXPECT_EQ(rows->topLevelItem(0)->text(2), "QZ-K14");
    // Every simulated unit shares 127.0.0.1, now the host of a listed unit.
    for (int r = 0; r < 2; ++r)
        EXPECT_EQ(rows->topLevelItem(r)->foreground(0).color(), QColor(64, 64, 64));
    EXPECT_EQ(window.unitListView()->topLevelItemCount(), 1) << "the main window reloaded its list";
    EXPECT_EQ(state.listRefreshRequest.load(), 0);

    if (const QString shots = qEnvironmentVariable("VANTEL_SCREENSHOT_DIR"); !shots.isEmpty()) {
        QCoreApplication::processEvents(); // let the layout settle after the list came back
        EXPECT_TRUE(dialog.grab().save(QDir(shots).filePath("search-dialog.png")));
    }
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace vantel
