// A file system with one file, stuck.png, whose reads never return until this program's standard
// input is closed; then they fail. Stands for a hung network share or a stalled disk.
// Usage: dorvane-stuckfs <mount point>   (in the foreground; ends on SIGTERM, unmounting)
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace {

constexpr const char* FilePath = "/stuck.png";
constexpr off_t FileSize = 4096;

std::mutex g_lock;
std::condition_variable g_releasedChanged;
bool g_released = false;

int getAttr(const char* path, struct stat* info, fuse_file_info*)
{
    std::memset(info, 0, sizeof *info);
    if (std::strcmp(path, "/") == 0) {
        info->st_mode = S_IFDIR | 0755;
        info->st_nlink = 2;
    } else if (std::strcmp(path, FilePath) == 0) {
        info->st_mode = S_IFREG | 0444;
        info->st_nlink = 1;
        info->st_size = FileSize;
    } else {
        return -ENOENT;
    }
    return 0;
}

int readDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags)
{
    if (std::strcmp(path, "/") != 0)
        return -ENOENT;
    for (const char* name : {".", "..", FilePath + 1})
        fill(buffer, name, nullptr, 0, fuse_fill_dir_flags{});
    return 0;
}

int openFile(const char* path, fuse_file_info* file)
{
    if (std::strcmp(path, FilePath) != 0)
        return -ENOENT;
    file->direct_io = 1; // every read comes here, none from a cache
    return 0;
}

int readFile(const char*, char*, size_t, off_t, fuse_file_info*)
{
    std::unique_lock held(g_lock);
    g_releasedChanged.wait(held, [] { return g_released; });
    return -EIO;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    std::thread([] {
        char byte = 0;
        while (::read(STDIN_FILENO, &byte, 1) > 0) {
        }
        const std::lock_guard held(g_lock);
        g_released = true;
        g_releasedChanged.notify_all();
    }).detach();
    fuse_operations operations{};
    operations.getattr = getAttr;
    operations.readdir = readDir;
    operations.open = openFile;
    operations.read = readFile;
    char foreground[] = "-f";
    char* arguments[] = {argv[0], foreground, argv[1], nullptr};
    return fuse_main(3, arguments, &operations, nullptr);
}
