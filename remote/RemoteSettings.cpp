#include "RemoteSettings.h"

#include <QRandomGenerator>

#include <algorithm>
#include <array>

namespace
{
constexpr int kTokenBytes = 16;
} // namespace

QString MakeRemoteToken()
{
    // QRandomGenerator::system() reads the operating system's secure source.
    std::array<quint32, kTokenBytes / sizeof(quint32)> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(words.data()), kTokenBytes).toHex());
}

bool IsStrongRemoteToken(const QString& token)
{
    return token.size() >= 2 * kTokenBytes && std::all_of(token.begin(), token.end(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') ||
                      (c >= u'A' && c <= u'F');
           });
}
