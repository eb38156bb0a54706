// Filling the main window's picture list from a large folder, next to a bare listing of the same
// folder (readdir, and QDirIterator without sorting or filtering) in the same run.
//
// Two folders are made under a temporary folder: 10,000 and 100,000 entries, of which nine in ten
// are empty picture files (*.jpg, *.JPG, *.png, *.gif, *.bmp, *.jpge) and one in ten are not
// (*.txt, *.jpeg). Every listing reads a warm directory cache.
//
// At the end the run prints, per folder, the list fill's time divided by each bare listing's (the
// medians when run with --benchmark_repetitions=N).

#include "core/fs/FileList.h"
#include "core/rotation/Rotation.h"
#include "core/settings/Settings.h"
#include "ui/main/FrmMine.h"
#include "ui/widgets/FileListBox.h"

#include "BenchProgram.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int Small = 10000;
constexpr int Large = 100000;

QString g_root;
FrmMine* g_window = nullptr;

QString folderFor(int count)
{
    return g_root + QStringLiteral("/f") + QString::number(count);
}

// Empty files with names in no particular order, so that the sort has work to do.
bool makeFolder(int count)
{
    static const char* const pictures[] = {".jpg", ".JPG", ".png", ".gif", ".bmp", ".jpge"};
    static const char* const others[] = {".txt", ".jpeg"};
    const QByteArray folder = QFile::encodeName(folderFor(count));
    if (mkdir(folder.constData(), 0700) != 0)
        return false;
    unsigned state = 12345;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        const char* suffix = i % 10 == 9 ? others[i % 2] : pictures[i % 6];
        const std::string name = folder.toStdString() + (state & 0x100 ? "/Pic " : "/pic_") +
                                 std::to_string(state >> 8) + suffix;
        const int fd = open(name.c_str(), O_CREAT | O_WRONLY, 0600);
        if (fd < 0)
            return false;
        close(fd);
    }
    return true;
}

void BM_ReadDir(benchmark::State& state)
{
    const QByteArray folder = QFile::encodeName(folderFor(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        DIR* dir = opendir(folder.constData());
        int entries = 0;
        while (dirent* entry = readdir(dir)) {
            benchmark::DoNotOptimize(entry->d_name);
            ++entries;
        }
        closedir(dir);
        benchmark::DoNotOptimize(entries);
    }
}

void BM_QDirIterator(benchmark::State& state)
{
    const QString folder = folderFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QDirIterator it(folder, QDir::Files | QDir::NoDotAndDotDot);
        int entries = 0;
        while (it.hasNext()) {
            it.next();
            benchmark::DoNotOptimize(it.fileName());
            ++entries;
        }
        benchmark::DoNotOptimize(entries);
    }
}

// The listing, filter and sort alone, without the list widget's items.
void BM_FileList(benchmark::State& state)
{
    FileList files(Rotation::PicturePattern);
    const QString folder = folderFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        files.setPath(folder);
        benchmark::DoNotOptimize(files.count());
    }
}

// The window's own fill, with the list's layout and drawing of the rows in view.
void BM_FillPictureList(benchmark::State& state)
{
    g_window->widget<QLineEdit>("txtpath")->setText(folderFor(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        g_window->findChild<Rotation*>()->fillPictureList();
        g_window->widget<FileListBox>("lstimages")->doItemsLayout();
        g_window->widget<FileListBox>("lstimages")->viewport()->repaint();
    }
    state.counters["items"] = g_window->widget<FileListBox>("lstimages")->count();
}

// For comparison: the same listing put into a list widget, one item object per name.
void BM_FillListWidget(benchmark::State& state)
{
    FileList files(Rotation::PicturePattern);
    QListWidget list;
    list.resize(g_window->widget<FileListBox>("lstimages")->size());
    list.show();
    const QString folder = folderFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        files.setPath(folder);
        list.clear();
        list.addItems(files.names());
        list.doItemsLayout();
        list.viewport()->repaint();
    }
    state.counters["items"] = list.count();
}

BENCHMARK(BM_ReadDir)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QDirIterator)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileList)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillPictureList)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillListWidget)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);

// The console output, plus the ratios once every run is in: of real time, and of CPU time,
// which other work on the machine disturbs less.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // With --benchmark_repetitions the medians stand for each benchmark.
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || run.run_type == Run::RT_Iteration)
                m_times[run.run_name.str()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (int count : {Small, Large}) {
            const std::string arg = "/" + std::to_string(count);
            const Times fill = m_times["BM_FillPictureList" + arg];
            const Times widget = m_times["BM_FillListWidget" + arg];
            const Times readdir = m_times["BM_ReadDir" + arg];
            const Times iterator = m_times["BM_QDirIterator" + arg];
            if (fill.real <= 0 || readdir.real <= 0 || iterator.real <= 0)
                continue;
            std::printf("%6d files: list filled in %.2f ms (CPU %.2f ms)\n", count, fill.real,
                        fill.cpu);
            const auto against = [&](const char* what, const Times& base) {
                if (base.real > 0)
                    std::printf("              %.2f x %s (%.2f ms), CPU %.2f x (%.2f ms)\n",
                                fill.real / base.real, what, base.real, fill.cpu / base.cpu,
                                base.cpu);
            };
            against("readdir", readdir);
            against("QDirIterator", iterator);
            against("a list widget's fill", widget);
        }
    }

private:
    struct Times
    {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> m_times;
};

// A copy of 1,000 pictures into the 100,000-file folder while the window watches it, the event
// loop running between files as it would during a real copy: how often the list was filled
// again, and how long after the last file the list showed it.
void followCopy(FrmMine* window)
{
    window->widget<QLineEdit>("txtpath")->setText(folderFor(Large));
    window->findChild<Rotation*>()->fillPictureList();
    auto* list = window->widget<FileListBox>("lstimages");
    const int before = list->count();
    int refreshes = 0;
    QObject::connect(list->model(), &QAbstractItemModel::modelReset, [&] { ++refreshes; });
    QElapsedTimer copy;
    copy.start();
    for (int i = 0; i < 1000; ++i) {
        QFile file(folderFor(Large) + QStringLiteral("/copied %1.png").arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write("picture") != 7)
            return;
        file.close();
        QCoreApplication::processEvents();
    }
    const qint64 copied = copy.elapsed();
    QElapsedTimer shown;
    shown.start();
    while (list->count() != before + 1000 && shown.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf("copy of 1000 files in %lld ms: list refreshed %d time(s), showing them %lld ms "
                "after the last (%d rows)\n",
                static_cast<long long>(copied), refreshes, static_cast<long long>(shown.elapsed()),
                list->count());
}

} // namespace

int main(int argc, char** argv)
{
    // Headless: the window is never shown, but widgets need a platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir root;
    g_root = root.path();
    if (!root.isValid() || !makeFolder(Small) || !makeFolder(Large)) {
        std::fprintf(stderr, "could not make the picture folders\n");
        return 1;
    }

    QTemporaryDir config;
    Program program(config, "[control]\nstate=0\n");
    FrmMine* window = program.window.get();
    g_window = window;
    QCoreApplication::processEvents();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    followCopy(window);
    g_window = nullptr;
    return 0;
}
