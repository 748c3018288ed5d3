#pragma once

#include "RemoteCommand.h"

#include <QByteArray>
#include <QList>
#include <QPair>

// The remote control's HTTP answers, whole: status line, fields and body.
// Each connection carries one request, so every answer closes it.

/// An answer with `status`, `body` of `contentType`, and `fields` besides.
QByteArray HttpResponse(int status, const QByteArray& contentType, const QByteArray& body,
                        const QList<QPair<QByteArray, QByteArray>>& fields = {});

/// The answer to a refusal: its JSON body, or none for 401, which says nothing else.
QByteArray HttpErrorResponse(const RemoteError& error);
