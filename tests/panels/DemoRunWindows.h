#pragma once

#include "DemoRunEvents.h"
#include "panels/framework/PanelBase.h"
#include "panels/framework/TabParentDialog.h"

#include <QApplication>

#include <filesystem>
#include <iostream>

namespace vantel::test {

// Runs the event loop for `ms`.
inline void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

// The visible tab container whose panel serves `unit`; null if none.
inline TabParentDialog* ContainerOf(UnitId unit)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<TabParentDialog*>(widget);
        if (window && window->isVisible() && window->panel() && window->panel()->unit() == unit)
            return window;
    }
    return nullptr;
}

// Writes a picture of `widget` and says so.
inline bool SaveScreenshot(QWidget& widget, const std::filesystem::path& file)
{
    const bool saved = widget.grab().save(QString::fromStdString(file.string()), "PNG");
    std::cout << "  " << (saved ? "wrote " : "could not write ") << file.string() << "\n";
    return saved;
}

} // namespace vantel::test
