#include "app/MainWindow.h"
#include "support/MessageBoxAnswerer.h"
#include "support/TempFolder.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vantel {
namespace {

class MainWindowWidgetTest : public ::testing::Test {
protected:
    MainWindowWidgetTest()
    {
        for (const char* name : {"a", "b", "c"}) {
            UnitConnection u;
            u.name = name;
            u.host = "127.0.0.1";
            u.modelRow = 8;
            list.Add(-1, u);
        }
        list.Save();
        EXPECT_TRUE(window.start({LoopbackAdapter()}));
        window.show();
    }

    QPushButton* button(int id)
    {
        return static_cast<QPushButton*>(static_cast<ControlWindow&>(window.controls()).widget(id));
    }
    void clickRow(int row)
    {
        QTreeWidget* view = window.unitListView();
        const QRect rect = view->visualItemRect(view->topLevelItem(row));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    test::TempFolder folder;
    std::string path = (folder.path() / "vantel.dat").string();
    UnitList list{path};
    AppState state;
    MainWindow window{list, state, "/tmp/"};
};

TEST_F(MainWindowWidgetTest, ClickingRowsDrivesTheSelectionButtons)
{
    ASSERT_EQ(window.unitListView()->topLevelItemCount(), 3);
    EXPECT_FALSE(button(MainId::Change)->isEnabled());
    clickRow(0);
    EXPECT_TRUE(button(MainId::Connect)->isEnabled());
    EXPECT_FALSE(button(MainId::MoveUp)->isEnabled());
    EXPECT_TRUE(button(MainId::MoveDown)->isEnabled());
    clickRow(2);
    EXPECT_TRUE(button(MainId::MoveUp)->isEnabled());
    EXPECT_FALSE(button(MainId::MoveDown)->isEnabled());

    QTest::mouseClick(button(MainId::MoveUp), Qt::LeftButton);
    EXPECT_EQ(list.at(1).name, "c");
    EXPECT_EQ(window.selectionMark(), 1) << "the moved unit stays selected";
}

TEST_F(MainWindowWidgetTest, EnterAndEscapeNeitherPressButtonsNorClose)
{
    clickRow(1);
    QTest::keyClick(window.unitListView(), Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(list.count(), 3);
}

TEST_F(MainWindowWidgetTest, DeleteAsksAndExitCloses)
{
    test::MessageBoxAnswerer answerer;
    answerer.script = {QMessageBox::Cancel};
    clickRow(0);
    QTest::mouseClick(button(MainId::Delete), Qt::LeftButton);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, QString::fromUtf8("[ a ]を削除します。"));
    EXPECT_EQ(list.count(), 3);

    QTest::mouseClick(button(MainId::Exit), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace vantel
