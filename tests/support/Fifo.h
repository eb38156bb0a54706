#pragma once

#include <QFile>
#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// A FIFO named like a picture, in either of two states that stop whoever reads it as a file:
// held open by a writer that never finishes (a read waits for more for ever), or with no writer
// at all (a blocking open waits for one). Should anybody read it, or still wait to open it after
// 20 s, the FIFO lets go at once, so that the test fails on wasRead() instead of hanging.
class Fifo
{
public:
    explicit Fifo(const QString& path, bool writing = true) : m_name(QFile::encodeName(path))
    {
        if (::mkfifo(m_name.constData(), 0600) != 0)
            return;
        // Read and write: the opening does not wait, and the FIFO always has a writer.
        if (writing && ((m_fd = ::open(m_name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) < 0 ||
                        ::write(m_fd, "\x89PNG\r\n\x1a\n", Bytes) != Bytes))
            return;
        // A look every 5 ms; without a writer, the first after 20 s.
        m_watch = std::jthread([this, writing](const std::stop_token& stop) {
            for (int look = 0; !stop.stop_requested() && !(writing && m_read); ++look) {
                const int fd = writing || look < 4000
                                   ? -1
                                   : ::open(m_name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                // Read from, or, without a writer, waited on to be opened for reading.
                m_read = (writing ? !unread() : fd >= 0 && ::close(fd) == 0) || m_read;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            if (writing) {
                m_read = m_read || !unread(); // read just before the stop
                ::close(m_fd);
            }
        });
    }
    bool isValid() const { return m_watch.joinable(); }
    // Stops watching; true when somebody read from it, or waited to open it, meanwhile.
    bool wasRead()
    {
        m_watch = {}; // a jthread asks its thread to stop, and joins it
        return m_read;
    }

private:
    static constexpr int Bytes = 8;
    bool unread() const
    {
        int left = 0;
        return ::ioctl(m_fd, FIONREAD, &left) == 0 && left == Bytes;
    }

    QByteArray m_name;
    int m_fd = -1;
    std::atomic<bool> m_read = false;
    std::jthread m_watch;
};
