#pragma once

#include <QDir>
#include <QProcess>
#include <QTest>
#include <sys/mount.h>

// A file whose reads never end, on a small FUSE file system mounted for the test at `mountPoint`
// (where FUSE can be mounted: as root, with /dev/fuse). The reads are let go, failing, and the
// file system unmounted when the object goes.
class StuckFile
{
public:
    explicit StuckFile(const QString& mountPoint) : m_mountPoint(mountPoint)
    {
        if (QByteArray(DORVANE_STUCKFS_PATH).isEmpty() || !QDir().mkpath(mountPoint))
            return;
        m_fs.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_fs.start(QStringLiteral(DORVANE_STUCKFS_PATH), {mountPoint});
        const auto up = [this] { return isMounted() || m_fs.state() == QProcess::NotRunning; };
        (void)QTest::qWaitFor(up, 10000);
    }
    ~StuckFile()
    {
        m_fs.closeWriteChannel();
        m_fs.terminate();
        if (!m_fs.waitForFinished(5000))
            m_fs.kill();
        ::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
    }

    bool isMounted() const { return QFileInfo::exists(path()); }
    // Whether the file system has been asked to read the file yet.
    bool readBegun() { return m_read = m_read || !m_fs.readAllStandardOutput().isEmpty(); }
    QString path() const { return m_mountPoint + QStringLiteral("/stuck.png"); }

private:
    QString m_mountPoint;
    QProcess m_fs;
    bool m_read = false;
};
