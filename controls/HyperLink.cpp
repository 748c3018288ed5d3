#include "HyperLink.h"

#include "DialogService.h"
#include "ModulePath.h"
#include "ShellOpen.h"

#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>

namespace
{

constexpr int kHoverTimerMs = 100;
constexpr char16_t kToolTipText[] = u"Click to open this address in your browser";

// The same face and size serve both looks, so swapping them keeps the text's
// shape; the hover effect the operator sees is the colour.
QFont LinkFont()
{
    QFont font(QStringLiteral("Times New Roman "));
    font.setPointSize(10);
    font.setUnderline(false);
    return font;
}

} // namespace

CHyperLink::CHyperLink(DialogService& dialogs, QWidget* parent)
    : QLabel(parent), m_dialogs(dialogs),
      m_opener([](const QString& target) { return ShellOpen(target, SystemShellServices()); })
{
    setTextFormat(Qt::PlainText);
    // Moves over the label must arrive without a button held.
    setMouseTracking(true);
    m_hoverTimer.setInterval(kHoverTimerMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CHyperLink::OnHoverTimer);
}

void CHyperLink::SetOpener(Opener opener)
{
    m_opener = std::move(opener);
}

void CHyperLink::Attach()
{
    if (m_strTarget.isEmpty())
        m_strTarget = text();
    if (text().isEmpty())
        setText(m_strTarget);
    m_normalFont = LinkFont();
    m_hoverFont = LinkFont();
    // The link opens in its hover look; the first timer tick puts it back to
    // normal when the pointer is elsewhere.
    PointerEntered();
    FitToText();
    setCursor(Qt::PointingHandCursor);
    setToolTip(QString::fromUtf16(kToolTipText));
}

void CHyperLink::FitToText()
{
    const QFontMetrics metrics(m_hoverFont);
    const QSize textSize(metrics.horizontalAdvance(text()), metrics.height());
    const QSize borders = size() - contentsRect().size();
    setGeometry(FitLinkRect(geometry(), borders, textSize, alignment()));
}

QColor CHyperLink::CurrentTextColor() const
{
    if (m_bPointerOver)
        return ToQColor(m_crHover);
    return ToQColor(m_bVisited ? m_crVisited : m_crLink);
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event)
{
    PointerEntered();
    QLabel::mouseMoveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Click();
    QLabel::mouseReleaseEvent(event);
}

void CHyperLink::PointerEntered()
{
    if (m_bPointerOver)
        return;
    m_bPointerOver = true;
    ApplyLook(m_hoverFont);
    m_hoverTimer.start();
}

void CHyperLink::OnHoverTimer()
{
    if (rect().contains(mapFromGlobal(QCursor::pos())))
        return;
    m_bPointerOver = false;
    m_hoverTimer.stop();
    ApplyLook(m_normalFont);
}

void CHyperLink::Click()
{
    // The timer keeps running: the next move over the label brings the hover
    // look back, and a tick outside it stops the timer.
    m_bPointerOver = false;
    const int result = m_opener(m_strTarget);
    if (ShellOpenSucceeded(result))
        m_bVisited = true;
    ApplyLook(font());
    if (!ShellOpenSucceeded(result))
        ReportFailure(result);
}

void CHyperLink::ApplyLook(const QFont& font)
{
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, CurrentTextColor());
    setPalette(colours);
    update();
}

void CHyperLink::ReportFailure(int result)
{
    m_dialogs.Beep();
    m_dialogs.ShowMessage(window(),
                          QStringLiteral("Unable to open hyperlink:\n\n") + ShellErrorText(result),
                          ApplicationTitle(), MessageButtons::Ok, MessageIcon::Exclamation);
}

QRect FitLinkRect(const QRect& window, const QSize& borders, const QSize& textSize,
                  Qt::Alignment alignment)
{
    const int neededWidth = textSize.width() + borders.width();
    const int neededHeight = textSize.height() + borders.height();

    // Integer division truncates toward zero, so a rectangle that grows and
    // one that shrinks move their edges by the same rule.
    int top = window.y();
    int height = neededHeight;
    if (alignment & Qt::AlignVCenter) {
        const int half = (window.height() - neededHeight) / 2;
        top += half;
        height = window.height() - 2 * half;
    }

    int left = window.x();
    int width = neededWidth;
    if (alignment & Qt::AlignHCenter) {
        const int half = (window.width() - neededWidth) / 2;
        left += half;
        width = window.width() - 2 * half;
    } else if (alignment & Qt::AlignRight) {
        left = window.x() + window.width() - neededWidth;
    }
    return QRect(left, top, width, height);
}

QString ShellErrorText(int result)
{
    switch (result) {
    case 0:
        return QStringLiteral("The operating system is out\nof memory or resources.");
    case 2:
        return QStringLiteral("The specified file was not found.");
    case 3:
        return QStringLiteral("The specified path was not found.");
    case 5:
        return QStringLiteral("The operating system denied\naccess to the specified file.");
    case 8:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
        return QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QStringLiteral("A sharing violation occurred. ");
    case 27:
        return QStringLiteral("The filename association is\nincomplete or invalid.");
    case 28:
        return QStringLiteral(
            "The DDE transaction could not\nbe completed because the request timed out.");
    case 29:
        return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not\nbe completed because other DDE "
                              "transactions\nwere being processed.");
    case 31:
        return QStringLiteral(
            "There is no application associated\nwith the given filename extension.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return QStringLiteral("Unknown Error (%1) occurred.").arg(result);
    }
}
