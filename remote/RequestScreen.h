#pragma once

#include "RemoteCommand.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

#include <functional>

// The first look at the bytes of a request, before anything else reads
// them: whether the request is whole yet, and whether it stays within the
// limits. A connection carries one request; what follows it is never read.

// The request line and header fields of a request.
struct RequestHead {
    QByteArray method;
    QByteArray path;                             // the target up to '?', as sent
    QByteArray query;                            // the target after '?', as sent
    QList<QPair<QByteArray, QByteArray>> fields; // names in lower case, values trimmed
    qsizetype length = 0;                        // bytes up to and with the blank line
    qsizetype bodyLength = 0;                    // from Content-Length

    /// The value of the first field called `name` (lower case), or empty.
    QByteArray Field(QByteArrayView name) const;
    /// Whether the request asks to become something else: any Upgrade field,
    /// even an empty one.
    bool IsUpgrade() const;
};

struct RequestScreening {
    enum class Verdict {
        NeedMore, // not whole yet, and within the limits so far
        Refuse,   // answer `error` and close
        Whole,    // `head` and the body are all there
    };
    Verdict verdict = Verdict::NeedMore;
    RemoteError error;
    RequestHead head;
};

/// The most body bytes a request with this head may send.
using BodyLimit = std::function<qsizetype(const RequestHead& head)>;

/// Looks at everything received so far on a connection; a body larger
/// than `bodyLimit` allows (RemoteLimits::kMaxBodyBytes without one) is refused.
RequestScreening ScreenRequest(QByteArrayView received, const BodyLimit& bodyLimit = {});

/// The value of `name` in a query such as "a=1&token=abc", as sent; empty when missing.
QByteArray QueryValue(QByteArrayView query, QByteArrayView name);
