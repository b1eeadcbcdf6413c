#pragma once

#include <QWidget>

namespace vantel {

// Picture of the sweep dialog: one cycle of the triangle wave with V1, V2,
// T1 and T2 marked, drawn as vectors.
class SweepPictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit SweepPictureWidget(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {260, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vantel
