#pragma once

namespace vantel {

// What the tab container's graph page needs from the analog panel that
// fills the container's first tab, whatever its kind.
class TabPanel {
public:
    virtual ~TabPanel() = default;
    // Index of the graph page's period list; the panel applies it to its canvas.
    virtual void selectDisplayPeriod(int index) = 0;
    // Refresh the canvas after a change of what it shows.
    virtual void refreshGraph() = 0;
    // The "Scale" button of a row: conversion formula dialog for that row.
    virtual void openScaleDialog(int row) = 0;
};

} // namespace vantel
