#include "ImageControl.h"

#include "core/picture/PictureLoader.h"

#include <QFileInfo>
#include <QPainter>
#include <QtConcurrent/QtConcurrentRun>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent)
{
    connect(&m_loading, &QFutureWatcherBase::finished, this, &ImageControl::loaded);
}

void ImageControl::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void ImageControl::clearPicture()
{
    m_picture = QImage();
    setAccessibleDescription(QString());
    update();
}

void ImageControl::showFile(const QString& path, const QSize& size)
{
    if (m_busy)
        m_next = Request{path, size};
    else
        start(Request{path, size});
}

void ImageControl::start(const Request& request)
{
    m_busy = true;
    m_loadingPath = request.path;
    m_loading.setFuture(QtConcurrent::run([request] {
        return PictureLoader::LoadScaledPicture(request.path, request.size.width(),
                                                request.size.height(), QColor(Qt::white));
    }));
}

void ImageControl::loaded()
{
    // A newer request came meanwhile: this picture is no longer the one to show.
    if (m_next) {
        start(*std::exchange(m_next, std::nullopt));
        return;
    }
    m_busy = false;
    Result<QImage> result = m_loading.result();
    if (result) {
        setPicture(std::move(result).value());
        setAccessibleDescription(QFileInfo(m_loadingPath).fileName());
    } else {
        emit failed(result.error());
    }
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
