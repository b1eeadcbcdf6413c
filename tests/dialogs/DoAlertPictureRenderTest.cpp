#include "dialogs/DoAlertDiagram.h"
#include "dialogs/DoAlertDiagramWidget.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <gtest/gtest.h>

#include <vector>

using namespace vantel;

namespace {

QImage Render(int number, double ratio)
{
    const QSize size(static_cast<int>(DoAlertPicture::kWidth * ratio),
                     static_cast<int>(DoAlertPicture::kHeight * ratio));
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintDoAlertPicture(painter, DoAlertPictureFor(number),
                        QRectF(0, 0, DoAlertPicture::kWidth, DoAlertPicture::kHeight));
    return image;
}

} // namespace

TEST(DoAlertPictureRender, AllDiagramsDifferAtEveryScale)
{
    for (const double ratio : {1.0, 2.0}) {
        std::vector<QImage> images;
        for (int number = kFirstDoAlertDiagram; number <= kLastDoAlertDiagram; ++number)
            images.push_back(Render(number, ratio));
        for (std::size_t i = 0; i < images.size(); ++i) {
            EXPECT_EQ(images[i].pixelColor(1, 1), QColor(Qt::white)) << "the picture fills its box";
            for (std::size_t j = i + 1; j < images.size(); ++j)
                EXPECT_NE(images[i], images[j]) << kFirstDoAlertDiagram + i << " and " << kFirstDoAlertDiagram + j;
        }
    }
}

TEST(DoAlertPictureRender, LabelsStayOnTheirAnchorsInsideThePictureAtAnySize)
{
    DoAlertDiagramWidget widget;
    widget.setNumber(144);
    for (const QSize size : {QSize(320, 236), QSize(900, 300), QSize(330, 700)}) {
        widget.resize(size);
        widget.show();
        const QRectF picture = DoAlertPictureTransform(widget.rect())
                                   .mapRect(QRectF(0, 0, DoAlertPicture::kWidth, DoAlertPicture::kHeight));
        for (int k = 1; k <= 7; ++k) {
            const QRect label = widget.label(k)->geometry();
            EXPECT_TRUE(picture.adjusted(-1, -1, 1, 1).contains(QRectF(label))) << k << " at " << size.width();
            const double anchorY = DoAlertPictureTransform(widget.rect())
                                       .map(QPointF(0, DoAlertPicture::yOf(DoAlertPicture::kTopLevel - k)))
                                       .y();
            EXPECT_NEAR(label.center().y(), anchorY, 1.5) << "label " << k << " beside its line";
        }
    }
}
