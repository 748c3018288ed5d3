#include "ScanOutView.h"

#include <QEvent>

#include <utility>

ScanOutView::ScanOutView(QWidget* window, FrameMailbox& mailbox, ScanOutLook look)
    : QWidget(window), m_mailbox(mailbox), m_look(std::move(look))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window->rect());
    window->installEventFilter(this);
}

bool ScanOutView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}
