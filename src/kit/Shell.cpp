#include "Shell.h"

#include <QtGlobal>

namespace {
Shell *installed = nullptr;
} // namespace

Shell &Shell::current() {
    Q_ASSERT_X(installed, "Shell::current", "no window registry is running");
    return *installed;
}

bool Shell::isRunning() {
    return installed != nullptr;
}

void Shell::install(Shell *shell) {
    installed = shell;
}
