#include "platform/text/FileRegistry.h"

#include <algorithm>
#include <vector>

namespace text {
namespace {
std::vector<RegisteredFile*>& openFiles()
{
    static std::vector<RegisteredFile*> files;
    return files;
}
} // namespace

RegisteredFile::RegisteredFile() { openFiles().push_back(this); }

RegisteredFile::~RegisteredFile()
{
    auto& files = openFiles();
    files.erase(std::remove(files.begin(), files.end(), this), files.end());
}

void closeAllFiles()
{
    const auto files = openFiles(); // close() must not change the list, but be safe
    for (RegisteredFile* f : files) {
        try {
            f->close(); // a file whose last write fails is closed all the same
        } catch (...) {
        }
    }
}

} // namespace text
