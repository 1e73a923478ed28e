#pragma once
// The median of several timed runs, the figure every benchmark prints.
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

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
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace bench
