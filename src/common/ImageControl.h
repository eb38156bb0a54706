#pragma once

#include <QImage>
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
