#include "ui/ControlWindow.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStringList>
#include <QThread>

namespace vantel {
namespace {

constexpr auto kMessageCaption = "Vantel";

QString FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Radio buttons refuse to be unchecked while they hold the exclusive choice;
// the logic may still want none selected, so exclusivity is lifted for the moment.
void Uncheck(QAbstractButton& button)
{
    if (QButtonGroup* group = button.group(); group && group->exclusive()) {
        group->setExclusive(false);
        button.setChecked(false);
        group->setExclusive(true);
    } else if (button.autoExclusive()) {
        button.setAutoExclusive(false);
        button.setChecked(false);
        button.setAutoExclusive(true);
    } else {
        button.setChecked(false);
    }
}

int RunMessageBox(QWidget& window, std::string_view utf8, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, kMessageCaption, FromUtf8(utf8), buttons, &window);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec();
}

} // namespace

ControlWindow::ControlWindow(QWidget& window) : window_(window) {}

template <typename Write> void ControlWindow::onWindowThread(Write write)
{
    if (QThread::currentThread() == window_.thread())
        write();
    else
        QMetaObject::invokeMethod(&window_, write, Qt::QueuedConnection);
}

void ControlWindow::bind(int id, QWidget* widget)
{
    widgets_[id] = widget;
}

QWidget* ControlWindow::widget(int id) const
{
    const auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second.data();
}

QWidget* ControlWindow::bound(int id) const
{
    QWidget* w = widget(id);
    if (!w)
        qWarning("ControlWindow: no widget for control %d", id);
    return w;
}

std::string ControlWindow::text(int id) const
{
    QWidget* w = bound(id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        text = edit->text();
    else if (auto* label = qobject_cast<QLabel*>(w))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        text = button->text();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        text = combo->currentText();
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        text = group->title();
    else if (auto* list = qobject_cast<QListWidget*>(w); list && list->currentItem())
        text = list->currentItem()->text();
    return text.toStdString();
}

void ControlWindow::setText(int id, std::string_view utf8)
{
    onWindowThread([this, id, text = FromUtf8(utf8)] {
        QWidget* w = bound(id);
        const QSignalBlocker blocker(w);
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(text);
        else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
            combo->setEditText(text);
        else if (combo)
            combo->setCurrentIndex(combo->findText(text));
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            group->setTitle(text);
    });
}

void ControlWindow::setEnabled(int id, bool enabled)
{
    onWindowThread([this, id, enabled] {
        if (QWidget* w = bound(id))
            w->setEnabled(enabled);
    });
}

void ControlWindow::setVisible(int id, bool visible)
{
    onWindowThread([this, id, visible] {
        if (QWidget* w = bound(id))
            w->setVisible(visible);
    });
}

bool ControlWindow::isChecked(int id) const
{
    QWidget* w = bound(id);
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->isChecked();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->isChecked();
    return false;
}

void ControlWindow::setChecked(int id, bool checked)
{
    onWindowThread([this, id, checked] {
        QWidget* w = bound(id);
        const QSignalBlocker blocker(w);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (checked)
                button->setChecked(true);
            else
                Uncheck(*button);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            group->setChecked(checked);
        }
    });
}

void ControlWindow::setItems(int id, const std::vector<std::string>& items)
{
    QStringList texts;
    for (const std::string& item : items)
        texts.append(QString::fromStdString(item));
    onWindowThread([this, id, texts] {
        QWidget* w = bound(id);
        const QSignalBlocker blocker(w);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->clear();
            combo->addItems(texts);
            combo->setCurrentIndex(-1);
        } else if (auto* list = qobject_cast<QListWidget*>(w)) {
            list->clear();
            list->addItems(texts);
            list->setCurrentRow(-1);
        }
    });
}

int ControlWindow::currentIndex(int id) const
{
    QWidget* w = bound(id);
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentIndex();
    if (auto* list = qobject_cast<QListWidget*>(w))
        return list->currentRow();
    return -1;
}

void ControlWindow::setCurrentIndex(int id, int index)
{
    onWindowThread([this, id, index] {
        QWidget* w = bound(id);
        const QSignalBlocker blocker(w);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            combo->setCurrentIndex(index);
        else if (auto* list = qobject_cast<QListWidget*>(w))
            list->setCurrentRow(index);
    });
}

void ControlWindow::setCaption(std::string_view utf8)
{
    onWindowThread([this, text = FromUtf8(utf8)] { window_.setWindowTitle(text); });
}

void ControlWindow::showMessage(std::string_view utf8)
{
    RunMessageBox(window_, utf8, QMessageBox::Ok);
}

bool ControlWindow::ask(std::string_view utf8)
{
    return RunMessageBox(window_, utf8, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

} // namespace vantel
