#pragma once

#include <QImage>
#include <QSizeF>
#include <QWidget>

// An image control: shows one picture from its top-left corner, unscaled, as the picture
// loader hands it over. Its size is set by the window from its design size in twips.
class ImageControl : public QWidget
{
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    const QImage& picture() const { return m_picture; }
    void setPicture(const QImage& picture);
    void clearPicture();

    // The size the control was designed with, in twips; pictures are made to fit it.
    void setDesignSize(double widthTwips, double heightTwips);
    bool hasDesignSize() const { return m_designTwips.isValid(); }
    double designWidthTwips() const { return m_designTwips.width(); }
    double designHeightTwips() const { return m_designTwips.height(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    QSizeF m_designTwips; // invalid until the window sets it
};
