#include "ModulePath.h"

#include <QCoreApplication>

QString SiblingPathWithExtension(const QString& executablePath, const QString& extension)
{
    const qsizetype lastSeparator =
        std::max(executablePath.lastIndexOf(u'/'), executablePath.lastIndexOf(u'\\'));
    const QString name = executablePath.mid(lastSeparator + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    const bool hasThreeLetterExtension = dot >= 0 && name.size() - dot - 1 == 3;
    if (hasThreeLetterExtension)
        return executablePath.left(executablePath.size() - 3) + extension;
    return executablePath + u'.' + extension;
}

QString ApplicationTitle()
{
    const QString path = QCoreApplication::applicationFilePath();
    QString name = path.mid(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}
