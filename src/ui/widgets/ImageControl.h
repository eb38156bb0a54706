#pragma once

#include "core/Result.h"

#include <QFutureWatcher>
#include <QImage>
#include <QSizeF>
#include <QTimer>
#include <QWidget>

#include <optional>

// An image control: shows one picture from its top-left corner, unscaled, as the picture
// loader hands it over. Its size is set by the window from its design size in twips.
//
// A picture file is decoded and scaled on a worker thread, never the window's. While one is
// being read, a newer request waits in its place and the older ones are dropped, so that clicking
// quickly through large pictures never queues them up; only the newest is shown. A read that
// takes longer than PatienceMs (a hung share, a stalled disk) is given up once a newer request
// comes: its thread is left to it and the newer picture is read on another.
class ImageControl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PatienceMs = 500;

    explicit ImageControl(QWidget* parent = nullptr);

    const QImage& picture() const { return m_picture; }
    void setPicture(const QImage& picture);

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
    void startNext();
    void loaded();

    QImage m_picture;
    QSizeF m_designTwips; // invalid until the window sets it
    QFutureWatcher<Result<QImage>> m_loading;
    QString m_loadingPath;
    QTimer m_patience; // running while the read in progress is still waited for
    std::optional<Request> m_next;
    bool m_busy = false;
};
