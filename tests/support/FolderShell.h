// A Shell that offers an application folder and nothing else of a program,
// for tests and benchmarks that run windows or steps without the registry.
#pragma once

#include "kit/Shell.h"
#include "storage/AppFolder.h"

class FolderShell : public Shell {
  public:
    explicit FolderShell(const QString &path) : m_folder(path) { Shell::install(this); }
    ~FolderShell() override { Shell::install(nullptr); }
    FolderShell(const FolderShell &) = delete;
    FolderShell &operator=(const FolderShell &) = delete;

    const AppFolder &appFolder() const override { return m_folder; }
    bool terminating() const override { return false; }
    LargeWindow *startScreen() const override { return nullptr; }
    void showGuide(QWidget *, const GuideTopic &) override {}
    void endProgram() override {}

  private:
    AppFolder m_folder;
};
