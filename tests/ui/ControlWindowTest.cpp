#include "ui/ControlWindow.h"
#include "support/MessageBoxAnswerer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace vantel {
namespace {

class ControlWindowTest : public ::testing::Test {
protected:
    template <class W, class... Args> W* add(int id, Args&&... args)
    {
        auto* w = new W(std::forward<Args>(args)..., &window);
        view.bind(id, w);
        return w;
    }

    QWidget window;
    ControlWindow view{window};
};

TEST_F(ControlWindowTest, TextsGoToEachKindOfWidgetAsUtf8)
{
    auto* edit = add<QLineEdit>(1);
    auto* label = add<QLabel>(2);
    auto* check = add<QCheckBox>(3);
    auto* group = add<QGroupBox>(4);
    auto* combo = add<QComboBox>(5);
    combo->addItems({"COM1", "COM2"});

    view.setText(1, "ユニット名称");
    view.setText(2, "ホスト名 :");
    view.setText(3, "ポート設定");
    view.setText(4, "ORVEXモデル");
    view.setText(5, "COM2");
    EXPECT_EQ(edit->text(), QString::fromUtf8("ユニット名称"));
    EXPECT_EQ(label->text(), QString::fromUtf8("ホスト名 :"));
    EXPECT_EQ(check->text(), QString::fromUtf8("ポート設定"));
    EXPECT_EQ(group->title(), QString::fromUtf8("ORVEXモデル"));
    EXPECT_EQ(combo->currentIndex(), 1);
    for (const int id : {1, 2, 3, 4})
        EXPECT_FALSE(view.text(id).empty()) << id;
    EXPECT_EQ(view.text(1), "ユニット名称");
    EXPECT_EQ(view.text(5), "COM2");
}

TEST_F(ControlWindowTest, ItemsStartWithoutSelectionInCombosAndLists)
{
    auto* combo = add<QComboBox>(1);
    auto* list = add<QListWidget>(2);
    for (const int id : {1, 2}) {
        view.setItems(id, {"QZ-K11", "QZ-K13 / QZ-K13(G)"});
        EXPECT_EQ(view.currentIndex(id), -1) << id;
        view.setCurrentIndex(id, 1);
        EXPECT_EQ(view.currentIndex(id), 1) << id;
        EXPECT_EQ(view.text(id), "QZ-K13 / QZ-K13(G)");
    }
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(list->count(), 2);
    view.setItems(1, {});
    EXPECT_EQ(combo->count(), 0);
}

TEST_F(ControlWindowTest, ExclusiveRadiosCanStillBeCleared)
{
    auto* a = add<QRadioButton>(1, "a");
    auto* b = add<QRadioButton>(2, "b");
    auto* grouped = add<QRadioButton>(3, "c");
    auto* partner = add<QRadioButton>(4, "d");
    QButtonGroup group;
    group.addButton(grouped);
    group.addButton(partner);

    view.setChecked(1, true);
    view.setChecked(3, true);
    EXPECT_TRUE(view.isChecked(1));
    view.setChecked(2, true);
    EXPECT_FALSE(a->isChecked());

    view.setChecked(2, false);
    view.setChecked(3, false);
    EXPECT_FALSE(b->isChecked());
    EXPECT_FALSE(grouped->isChecked());
    // Exclusivity is back afterwards.
    view.setChecked(3, true);
    view.setChecked(4, true);
    EXPECT_FALSE(grouped->isChecked());
    EXPECT_TRUE(group.exclusive());
    EXPECT_TRUE(a->autoExclusive());
}

TEST_F(ControlWindowTest, EnablingAndVisibilityAndUnboundIds)
{
    auto* edit = add<QLineEdit>(1);
    view.setEnabled(1, false);
    view.setVisible(1, false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(edit->isHidden());
    view.setVisible(1, true);
    EXPECT_FALSE(edit->isHidden());

    // An id without a widget reads as empty and ignores writes.
    view.setText(99, "x");
    EXPECT_EQ(view.text(99), "");
    EXPECT_FALSE(view.isChecked(99));
    EXPECT_EQ(view.currentIndex(99), -1);
    EXPECT_EQ(view.widget(99), nullptr);

    // A widget destroyed by its window is forgotten, not dangling.
    delete edit;
    EXPECT_EQ(view.widget(1), nullptr);
}

TEST_F(ControlWindowTest, MessagesAndQuestionsAreModalBoxesCaptionedVantel)
{
    view.setCaption("ユニットの追加");
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("ユニットの追加"));

    test::MessageBoxAnswerer answerer;
    answerer.script = {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Ok};
    view.showMessage("ホスト名が未入力です。");
    EXPECT_FALSE(view.ask("設定しますか。"));
    EXPECT_TRUE(view.ask("設定しますか。"));
    ASSERT_EQ(answerer.seen.size(), 3u);
    EXPECT_EQ(answerer.seen[0].caption, "Vantel");
    EXPECT_EQ(answerer.seen[0].text, QString::fromUtf8("ホスト名が未入力です。"));
    EXPECT_EQ(answerer.seen[1].text, QString::fromUtf8("設定しますか。"));
}

} // namespace
} // namespace vantel
