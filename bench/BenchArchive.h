// The synthetic archives the benchmarks run on, made once per size in a
// temporary folder and shared by every benchmark of the run, and the plain
// reads a benchmark measures itself against.
#pragma once

#include "SyntheticArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

inline QTemporaryDir &benchFolder() {
    static QTemporaryDir dir;
    return dir;
}

// `prefix`_`count`.pro with `count` cards written by `write`, made once.
inline QString archiveOf(const QString &prefix, qint64 count,
                         bool (*write)(const QString &, qint64)) {
    static std::map<std::pair<QString, qint64>, QString> made;
    auto it = made.find({prefix, count});
    if (it != made.end())
        return it->second;
    const QString path = benchFolder().filePath(QStringLiteral("%1_%2.pro").arg(prefix).arg(count));
    if (!write(path, count))
        qFatal("cannot write %s", qPrintable(path));
    return made[{prefix, count}] = path;
}

// Database.pro with `count` cards, made once.
inline QString databaseOf(qint64 count) {
    return archiveOf(QStringLiteral("Database"), count, synthetic::writeDatabase);
}

// Clienti.pro with `count` clients, made once.
inline QString clientsOf(qint64 count) {
    return archiveOf(QStringLiteral("Clienti"), count, synthetic::writeClients);
}

// Reads the whole file into a 1 MiB buffer, a read at a time, to nowhere.
inline void readOnce(const QString &path) {
    static std::vector<char> buffer(1 << 20);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        qFatal("cannot open %s", qPrintable(path));
    qint64 total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
        total += n;
    ::close(fd);
    benchmark::DoNotOptimize(total);
}

// Runs `args` (the program found on PATH, or a path) with its output and
// errors to /dev/null, and waits for it; its exit status.
inline int runQuiet(const QStringList &args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<QByteArray> bytes;
    for (const QString &a : args)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        qFatal("cannot run %s", argv[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// `cat FILE > /dev/null`.
inline void catOnce(const QString &path) {
    runQuiet({QStringLiteral("cat"), path});
}

// A program built beside this one (cartavera-cli).
inline QString besideMe(const QString &name) {
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath() +
           u'/' + name;
}

// A folder of its own holding `files` (names in it, and the synthetic
// archives they are hard links to), made once per name.
inline QString folderWith(const QString &name, const std::map<QString, QString> &files) {
    const QString folder = benchFolder().filePath(name);
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(folder);
        for (const auto &[file, source] : files)
            if (::link(QFile::encodeName(source).constData(),
                       QFile::encodeName(folder + u'/' + file).constData()) != 0)
                qFatal("cannot link %s", qPrintable(source));
    }
    return folder;
}

// The seconds from `from` to now; `from` moves on to now.
inline double secondsSince(std::chrono::steady_clock::time_point &from) {
    const auto now = std::chrono::steady_clock::now();
    const double s = std::chrono::duration<double>(now - from).count();
    from = now;
    return s;
}
