#include "ImageControl.h"

#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {}

void ImageControl::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void ImageControl::clearPicture()
{
    m_picture = QImage();
    update();
}

void ImageControl::setDesignSize(double widthTwips, double heightTwips)
{
    m_designTwips = QSizeF(widthTwips, heightTwips);
}

void ImageControl::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}
