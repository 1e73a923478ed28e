#pragma once
// Times one run on the GUI thread and the longest stretch in it without a tick of the event loop (a
// precise 1 ms timer that only fires when the run lets events through): how long the window would not
// have answered.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace bench {

struct FreezeFigures {
    double seconds;
    double longestFreezeMs;
};

inline FreezeFigures measureFreeze(const std::function<void()>& run)
{
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    qint64 last = 0, longest = 0;
    QElapsedTimer clock;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    ticker.start();
    clock.start();
    run();
    const qint64 end = clock.nsecsElapsed();
    longest = std::max(longest, end - last);
    return {end / 1e9, longest / 1e6};
}

} // namespace bench
