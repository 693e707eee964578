#pragma once
// A test's own working directory: the program keeps its catalogue and window
// positions in the working directory, so each test gets an empty one and the
// previous one back afterwards.
#include <QDir>
#include <QTemporaryDir>

struct ScratchDirectory {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    ScratchDirectory() { QDir::setCurrent(dir.path()); }
    ~ScratchDirectory() { QDir::setCurrent(previous); }
};
