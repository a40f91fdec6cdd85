// Temporary paths for tests; the folder and everything in it go when the object does.
#include "tests/support/temp_paths.h"

#include <QFile>
#include <gtest/gtest.h>

std::string TempPaths::File(const std::string& name) const
{
    return dir_.filePath(QString::fromStdString(name)).toStdString();
}

std::string TempPaths::Write(const std::string& name, const QByteArray& bytes) const
{
    const std::string path = File(name);
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path;
    file.write(bytes);
    return path;
}
