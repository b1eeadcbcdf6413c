#include "app/MainWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace vantel {
namespace {

// Qt's texts next to the program's own Japanese ones: the question boxes'
// buttons and the log folder dialog.
TEST(QtTranslations, QuestionBoxesAndTheFolderDialogSpeakJapanese)
{
    QTranslator* translations = InstallQtTranslations(*QApplication::instance());
    ASSERT_NE(translations, nullptr) << "qt6-translations-l10n is not installed";

    QMessageBox question(QMessageBox::Question, QStringLiteral("Vantel"), QStringLiteral("[ Tank ]を削除します。"),
                         QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(question.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));

    QFileDialog folders(nullptr, QStringLiteral("ログフォルダを選択してください"));
    folders.setOption(QFileDialog::DontUseNativeDialog);
    folders.setFileMode(QFileDialog::Directory);
    EXPECT_EQ(folders.labelText(QFileDialog::Reject), QStringLiteral("キャンセル"));
    EXPECT_NE(folders.labelText(QFileDialog::LookIn), QStringLiteral("Look in:"));

    QApplication::removeTranslator(translations);
    delete translations;
    EXPECT_EQ(QMessageBox(QMessageBox::Question, {}, {}, QMessageBox::Cancel).button(QMessageBox::Cancel)->text(),
              QStringLiteral("Cancel"))
        << "the test leaves Qt as it found it";
}

} // namespace
} // namespace vantel
