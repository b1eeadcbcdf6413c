#include "ui/WidgetControlView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QThread>

namespace vantel {
namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

template <typename Write> void WidgetControlView::onOwnerThread(Write write)
{
    if (QThread::currentThread() == owner_->thread())
        write();
    else
        QMetaObject::invokeMethod(owner_, write, Qt::QueuedConnection);
}

QWidget* WidgetControlView::widget(int id) const
{
    const auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second.data();
}

std::string WidgetControlView::text(int id) const
{
    QWidget* w = widget(id);
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w))
        text = label->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        text = edit->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        text = button->text();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        text = combo->currentText();
    return text.toStdString();
}

void WidgetControlView::setText(int id, std::string_view utf8)
{
    onOwnerThread([this, id, text = fromUtf8(utf8)] {
        QWidget* w = widget(id);
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(text);
    });
}

void WidgetControlView::setEnabled(int id, bool enabled)
{
    onOwnerThread([this, id, enabled] {
        if (QWidget* w = widget(id))
            w->setEnabled(enabled);
    });
}

void WidgetControlView::setVisible(int id, bool visible)
{
    onOwnerThread([this, id, visible] {
        if (QWidget* w = widget(id))
            w->setVisible(visible);
    });
}

bool WidgetControlView::isChecked(int id) const
{
    const auto* button = qobject_cast<QAbstractButton*>(widget(id));
    return button != nullptr && button->isChecked();
}

void WidgetControlView::setChecked(int id, bool checked)
{
    onOwnerThread([this, id, checked] {
        if (auto* button = qobject_cast<QAbstractButton*>(widget(id))) {
            // A program change is not a click.
            const QSignalBlocker blocker(button);
            button->setChecked(checked);
        }
    });
}

void WidgetControlView::setItems(int id, const std::vector<std::string>& items)
{
    onOwnerThread([this, id, items] {
        if (auto* combo = qobject_cast<QComboBox*>(widget(id))) {
            const QSignalBlocker blocker(combo);
            combo->clear();
            for (const std::string& item : items)
                combo->addItem(QString::fromStdString(item));
            combo->setCurrentIndex(-1);
        }
    });
}

int WidgetControlView::currentIndex(int id) const
{
    const auto* combo = qobject_cast<QComboBox*>(widget(id));
    return combo ? combo->currentIndex() : -1;
}

void WidgetControlView::setCurrentIndex(int id, int index)
{
    onOwnerThread([this, id, index] {
        if (auto* combo = qobject_cast<QComboBox*>(widget(id))) {
            const QSignalBlocker blocker(combo);
            combo->setCurrentIndex(index);
        }
    });
}

void WidgetControlView::setCaption(std::string_view utf8)
{
    onOwnerThread([this, text = fromUtf8(utf8)] { owner_->window()->setWindowTitle(text); });
}

void WidgetControlView::showMessage(std::string_view utf8)
{
    QMessageBox::information(owner_, QString(), fromUtf8(utf8));
}

bool WidgetControlView::ask(std::string_view utf8)
{
    return QMessageBox::question(owner_, QString(), fromUtf8(utf8), QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

} // namespace vantel
