#pragma once

// What the benchmarks report beside their times: how far a picture is from a reference, and one
// figure per benchmark kept so that two can be set side by side once both have run.

#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>

// Mean absolute difference per channel of two pictures of one size, in levels of 255.
inline double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// Keeps each benchmark's figure (what `figure` reads of a run; nothing for a run without one).
// With repetitions the median speaks for the benchmark, else its one run.
class FigureReporter : public benchmark::ConsoleReporter
{
public:
    using Figure = std::function<std::optional<double>(const Run&)>;
    explicit FigureReporter(Figure figure) : m_figure(std::move(figure)) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const std::optional<double> value = m_figure(run);
            if (value && (run.run_type == Run::RT_Aggregate
                              ? run.aggregate_name == "median"
                              : !m_figures.contains(run.run_name.function_name)))
                m_figures[run.run_name.function_name] = *value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Prints `line` with both benchmarks' figures and the first's over the second's, when both
    // ran and the second is not zero.
    void printRatio(const std::string& first, const std::string& second, const char* line) const
    {
        const auto a = m_figures.find(first);
        const auto b = m_figures.find(second);
        if (a != m_figures.end() && b != m_figures.end() && b->second > 0)
            std::printf(line, a->second, b->second, a->second / b->second);
    }

private:
    Figure m_figure;
    std::map<std::string, double> m_figures;
};
