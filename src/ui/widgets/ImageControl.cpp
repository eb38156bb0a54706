#include "ImageControl.h"

#include "core/DetachedRun.h"
#include "core/picture/PictureLoader.h"

#include <QFileInfo>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent)
{
    connect(&m_loading, &QFutureWatcherBase::finished, this, &ImageControl::loaded);
    m_patience.setSingleShot(true);
    m_patience.setInterval(PatienceMs);
    connect(&m_patience, &QTimer::timeout, this, [this] {
        if (m_next)
            startNext();
    });
}

void ImageControl::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void ImageControl::showFile(const QString& path, const QSize& size)
{
    m_next = Request{path, size};
    if (!m_busy || !m_patience.isActive())
        startNext();
}

void ImageControl::startNext()
{
    m_busy = true;
    m_patience.start();
    m_loadingPath = m_next->path;
    // A read given up on still finishes into its own future, which nothing watches any more.
    m_loading.setFuture(runDetached([request = *std::exchange(m_next, std::nullopt)] {
        return PictureLoader::LoadScaledPicture(request.path, request.size.width(),
                                                request.size.height(), QColor(Qt::white));
    }));
}

void ImageControl::loaded()
{
    // A newer request came meanwhile: this picture is no longer the one to show.
    if (m_next)
        return startNext();
    m_busy = false;
    m_patience.stop();
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
