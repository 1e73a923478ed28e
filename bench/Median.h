#pragma once
// The median of several timed runs, the figure every benchmark prints.
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// The median of figures taken by hand (runs that need an untimed set-up each).
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds that `run` takes, median of `times` runs.
inline double medianMs(const std::function<void()>& run, int times = 5)
{
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer clock;
        clock.start();
        run();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

} // namespace bench
