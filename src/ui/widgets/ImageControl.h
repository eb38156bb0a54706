#pragma once

#include "core/Result.h"

#include <QFutureWatcher>
#include <QImage>
#include <QSizeF>
#include <QWidget>

#include <optional>

// An image control: shows one picture from its top-left corner, unscaled, as the picture
// loader hands it over. Its size is set by the window from its design size in twips.
//
// A picture file is decoded and scaled on a worker thread, never the window's. While one is
// being read, a newer request waits in its place and the older ones are dropped, so that clicking
// quickly through large pictures never queues them up; only the newest is shown.
class ImageControl : public QWidget
{
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    const QImage& picture() const { return m_picture; }
    void setPicture(const QImage& picture);
    void clearPicture();

    // Shows the picture in the file, scaled over white to `size`, once it is read, and tells
    // screen readers the file's name. A file that cannot be shown leaves the control as it is
    // and is reported by failed().
    void showFile(const QString& path, const QSize& size);
    // A picture is still being read.
    bool isLoading() const { return m_busy; }

    // The size the control was designed with, in twips; pictures are made to fit it.
    void setDesignSize(double widthTwips, double heightTwips);
    bool hasDesignSize() const { return m_designTwips.isValid(); }
    double designWidthTwips() const { return m_designTwips.width(); }
    double designHeightTwips() const { return m_designTwips.height(); }

signals:
    void failed(const QString& error);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Request
    {
        QString path;
        QSize size;
    };
    void start(const Request& request);
    void loaded();

    QImage m_picture;
    QSizeF m_designTwips; // invalid until the window sets it
    QFutureWatcher<Result<QImage>> m_loading;
    QString m_loadingPath;
    std::optional<Request> m_next;
    bool m_busy = false;
};
