#include "core/WholePage.h"

#include <utility>

namespace wholepage {
namespace {

std::function<void()>& pending()
{
    static std::function<void()> write;
    return write;
}

} // namespace

void setPending(std::function<void()> write) { pending() = std::move(write); }

void drop() { pending() = nullptr; }

void complete()
{
    if (auto write = std::exchange(pending(), nullptr))
        write();
}

} // namespace wholepage
