// A file system with one file, stuck.png, whose reads never return until this program's standard
// input is closed; then they fail. Each read, as it begins, writes one "r" to standard output.
// Stands for a hung network share or a stalled disk. Usage: dorvane-stuckfs <mount point>   (in the
// foreground; ends on SIGTERM, unmounting)
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <condition_variable>
#include <mutex>
#include <string_view>
#include <thread>

#include <unistd.h>

namespace {

std::mutex g_lock;
std::condition_variable g_releasedChanged;
bool g_released = false;

int getAttr(const char* path, struct stat* info, fuse_file_info*)
{
    const bool root = std::string_view(path) == "/";
    *info = {};
    info->st_mode = root ? S_IFDIR | 0755 : S_IFREG | 0444;
    info->st_nlink = 1;
    info->st_size = 4096;
    return root || std::string_view(path) == "/stuck.png" ? 0 : -ENOENT;
}

int readDir(const char*, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags)
{
    for (const char* name : {".", "..", "stuck.png"})
        fill(buffer, name, nullptr, 0, fuse_fill_dir_flags{});
    return 0;
}

int openFile(const char* path, fuse_file_info* file)
{
    file->direct_io = 1; // every read comes here, none from a cache
    return std::string_view(path) == "/stuck.png" ? 0 : -ENOENT;
}

int readFile(const char*, char*, size_t, off_t, fuse_file_info*)
{
    (void)!::write(STDOUT_FILENO, "r", 1);
    std::unique_lock held(g_lock);
    g_releasedChanged.wait(held, [] { return g_released; });
    return -EIO;
}

} // namespace

int main(int argc, char* argv[])
{
    std::thread([] {
        for (char byte = 0; ::read(STDIN_FILENO, &byte, 1) > 0;) {
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
    char* arguments[] = {argv[0], foreground, argc > 1 ? argv[1] : nullptr, nullptr};
    return fuse_main(3, arguments, &operations, nullptr);
}
