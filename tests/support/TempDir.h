#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh folder per test, removed with the fixture.
class TempDirTest : public ::testing::Test
{
  protected:
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

    void WriteBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray ReadBytes(const QString& name) const
    {
        QFile file(PathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};
