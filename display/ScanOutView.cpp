#include "ScanOutView.h"

#include <QEvent>

ScanOutView::ScanOutView(QWidget* window, FrameMailbox& mailbox)
    : QWidget(window), m_mailbox(mailbox)
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
