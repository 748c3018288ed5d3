#include "XButton.h"

#include "BgDialog.h"
#include "ControlToolTip.h"
#include "ResourceIds.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace
{

constexpr int kColorCount = 6;
constexpr int kCaptionFlags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::TextShowMnemonic;
// A push button's focus mark runs this far inside its edge.
constexpr int kFocusMarkInset = 3;
constexpr int kMaxShade = 255;
constexpr QPoint kPressedOffset(1, 1);

bool IsBadIndex(int index)
{
    return index < 0 || index >= kColorCount;
}

// One offset d for all three components, limited so that none leaves 0..255;
// the components keep their differences.
ColorRef ShiftedColor(ColorRef color, int shade)
{
    const std::array<int, 3> parts{RedOf(color), GreenOf(color), BlueOf(color)};
    int d = shade;
    for (int part : parts) {
        if (shade > 0 && part + shade > 255)
            d = std::min(d, 255 - part);
        else if (shade <= 0 && part + shade < 0)
            d = std::max(d, -part);
    }
    return MakeColorRef(parts[0] + d, parts[1] + d, parts[2] + d);
}

// The grey copy shown at rest: black stays black, every other colour becomes
// its luminance, and each pixel keeps its transparency. Null if the picture
// cannot be read.
QPixmap GrayCopy(const QPixmap& icon)
{
    QImage image = icon.toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            // Black's luminance is 0, so black stays black.
            const QRgb pixel = image.pixel(x, y);
            const int luminance = static_cast<int>(0.587 * qGreen(pixel) + 0.299 * qRed(pixel) +
                                                   0.114 * qBlue(pixel));
            image.setPixel(x, y, qRgba(luminance, luminance, luminance, qAlpha(pixel)));
        }
    }
    return QPixmap::fromImage(image);
}

// Where the caption's word-wrapped, centred lines fall within `room`.
QRect CaptionPlace(const QFontMetrics& metrics, const QRect& room, const QString& text)
{
    const QSize measured = metrics.boundingRect(room, kCaptionFlags, text).size();
    return {room.left() + (room.width() - measured.width()) / 2,
            room.top() + (room.height() - measured.height()) / 2, measured.width(),
            measured.height()};
}

// Dots of black and white in turn, so that the mark shows on any face, dark
// skin and bright icon alike.
QBrush FocusMarkBrush()
{
    QImage dots(2, 2, QImage::Format_RGB32);
    dots.fill(Qt::black);
    dots.setPixel(0, 0, qRgb(255, 255, 255));
    dots.setPixel(1, 1, qRgb(255, 255, 255));
    return QBrush(dots);
}

// The platform reports an icon's hot spot at its centre rounded down, and the
// size is twice that: an odd dimension counts one pixel less (75 x 25 is 74 x 24).
int IconExtent(int pixels)
{
    return 2 * (pixels / 2);
}

} // namespace

void CXButton::Draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft,
                          const QColor& bottomRight)
{
    // The bottom-right lines run the full length and so own both far corners.
    painter.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
    painter.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
    painter.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
}

CXButton::CXButton(QWidget* parent, bool checkBox)
    : CXButton(checkBox ? ButtonType::AutoCheckBox : ButtonType::PushButton, parent)
{
}

CXButton::CXButton(ButtonType type, QWidget* parent) : QAbstractButton(parent)
{
    const int bits = static_cast<int>(type);
    m_isCheckBox = (bits & 2) != 0; // radio types 4 and 9 lack the bit
    m_isDefault = type == ButtonType::DefPushButton;
    setCheckable(m_isCheckBox);
    // Hover is tracked whether or not a button is held or the window is active.
    // Qt hands a double click on as a press, so a fast second click counts as
    // a click of its own.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    ResetColors();
    connect(this, &QAbstractButton::clicked, this, &CXButton::OnClicked);
}

CXButton::~CXButton() = default;

CXButton::ButtonStatus CXButton::SetIcons(const QPixmap& active, const QPixmap& idle)
{
    return StoreIcons(active, active.isNull() ? QPixmap() : idle);
}

CXButton::ButtonStatus CXButton::SetIcons(const QPixmap& active, IdleIcon idle)
{
    if (idle != AutoGray || active.isNull())
        return StoreIcons(active, QPixmap());
    const QPixmap gray = GrayCopy(active);
    if (gray.isNull()) {
        StoreIcons(QPixmap(), QPixmap());
        return ButtonBadResource;
    }
    return StoreIcons(active, gray);
}

CXButton::ButtonStatus CXButton::SetIcons(int activeId, int idleId)
{
    const QPixmap active(ImageResourcePath(activeId));
    if (idleId == AutoGray || idleId == NoIdleIcon)
        return SetIcons(active, static_cast<IdleIcon>(idleId));
    return SetIcons(active, QPixmap(ImageResourcePath(idleId)));
}

CXButton::ButtonStatus CXButton::StoreIcons(const QPixmap& active, const QPixmap& idle)
{
    m_icons = {};
    if (!active.isNull()) {
        m_icons[0] = {active, IconExtent(active.width()), IconExtent(active.height())};
        if (!idle.isNull())
            m_icons[1] = {idle, IconExtent(idle.width()), IconExtent(idle.height())};
    }
    update();
    return ButtonOk;
}

void CXButton::SetToolTipText(const QString& text, bool activate)
{
    SetControlToolTip(*this, text, activate);
}

CXButton::ButtonStatus CXButton::SetStateColor(int index, ColorRef color, bool repaint)
{
    if (IsBadIndex(index))
        return ButtonBadIndex;
    m_colors[static_cast<std::size_t>(index)] = color;
    Repaint(repaint);
    return ButtonOk;
}

CXButton::ButtonStatus CXButton::ShiftStateColor(int index, int shade, bool repaint)
{
    if (IsBadIndex(index))
        return ButtonBadIndex;
    if (shade < -kMaxShade || shade > kMaxShade)
        return ButtonBadValue;
    ColorRef& color = m_colors[static_cast<std::size_t>(index)];
    color = ShiftedColor(color, shade);
    Repaint(repaint);
    return ButtonOk;
}

ColorRef CXButton::StateColor(int index) const
{
    return IsBadIndex(index) ? 0 : m_colors[static_cast<std::size_t>(index)];
}

void CXButton::UseParentBackground(bool repaint)
{
    m_parentBackground = true;
    m_backgroundCache = QPixmap();
    Repaint(repaint);
}

void CXButton::SizeToImage()
{
    if (m_icons[0].pixmap.isNull())
        return;
    resize(m_icons[0].width, m_icons[0].height);
    m_imageMargin = 0;
}

CXButton::ButtonStatus CXButton::SetChecked(bool check, bool repaint)
{
    if (!m_isCheckBox)
        return ButtonOk;
    setChecked(check);
    Repaint(repaint);
    return ButtonOk;
}

bool CXButton::IsChecked() const
{
    return m_isCheckBox && isChecked();
}

int CXButton::SetCheck(int checkValue)
{
    if (m_isCheckBox) {
        setChecked(checkValue == 1 || checkValue == 2);
        update();
    }
    return 0;
}

void CXButton::SetButtonStyle(ButtonType type, bool redraw)
{
    if (type == ButtonType::DefPushButton)
        m_isDefault = true;
    else if (type == ButtonType::PushButton)
        m_isDefault = false;
    Repaint(redraw);
}

QSize CXButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const QSize textSize =
        metrics.size(Qt::TextShowMnemonic, text()) + QSize(2 * m_imageMargin, 2 * m_imageMargin);
    const Icon& icon = m_icons[0];
    return {textSize.width() + icon.width + (icon.width > 0 ? m_imageMargin : 0),
            std::max(textSize.height(), icon.height)};
}

void CXButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect item = rect();
    m_pressed = isDown() || (m_isCheckBox && isChecked());
    m_focused = hasFocus();
    m_disabled = !isEnabled();
    if (m_parentBackground)
        DrawParentBackground(painter);
    else
        DrawFace(painter, item);
    DrawEdge(painter, item);
    QRect caption = item;
    if (!m_icons[0].pixmap.isNull())
        DrawImage(painter, item, caption);
    if (!text().isEmpty())
        DrawCaption(painter, caption, text());
    if (m_focused && window()->testAttribute(Qt::WA_KeyboardFocusChange))
        DrawFocusMark(painter, item, caption);
}

void CXButton::DrawFocusMark(QPainter& painter, const QRect& item, const QRect& caption)
{
    // Shown once the keyboard has moved the focus in this window, as the
    // platform's buttons do, so a click alone leaves the look unchanged. A
    // check box marks its caption, a push button its face.
    QRect mark =
        item.adjusted(kFocusMarkInset, kFocusMarkInset, -kFocusMarkInset, -kFocusMarkInset);
    if (m_isCheckBox && !text().isEmpty())
        mark = CaptionPlace(painter.fontMetrics(), caption, text()).adjusted(-2, -1, 2, 1) & item;
    if (mark.width() < 2 || mark.height() < 2)
        return;
    const QBrush dots = FocusMarkBrush();
    painter.fillRect(mark.left(), mark.top(), mark.width(), 1, dots);
    painter.fillRect(mark.left(), mark.bottom(), mark.width(), 1, dots);
    painter.fillRect(mark.left(), mark.top(), 1, mark.height(), dots);
    painter.fillRect(mark.right(), mark.top(), 1, mark.height(), dots);
}

void CXButton::DrawParentBackground(QPainter& painter)
{
    // Taken once and reused: the parent is not asked again at every paint.
    if (m_backgroundCache.isNull())
        m_backgroundCache = CBgDialog::BackgroundBehind(*this);
    painter.drawPixmap(0, 0, m_backgroundCache);
}

void CXButton::DrawFace(QPainter& painter, const QRect& item)
{
    const ButtonColor face = (m_hover || m_pressed) ? BackHot
                             : m_focused            ? BackFocused
                                                    : BackNormal;
    painter.fillRect(item, ToQColor(m_colors[face]));
}

void CXButton::DrawEdge(QPainter& painter, const QRect& item)
{
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    if (m_pressed)
        Draw3dRect(painter, item, shadow, highlight);
    else if (m_hover)
        Draw3dRect(painter, item, highlight, shadow);
}

void CXButton::DrawImage(QPainter& painter, const QRect& item, QRect& caption)
{
    const bool showIdle = m_isCheckBox ? !m_pressed : !(m_pressed || m_hover);
    const Icon& icon = (showIdle && !m_icons[1].pixmap.isNull()) ? m_icons[1] : m_icons[0];
    QPoint at = item.topLeft();
    if (!text().isEmpty()) {
        at.rx() += m_imageMargin;
        caption.setLeft(caption.left() + m_imageMargin + icon.width);
    } else {
        at.rx() += (item.width() - icon.width) / 2;
    }
    at.ry() += (item.height() - icon.height) / 2;
    if (m_pressed && !m_isCheckBox)
        at += kPressedOffset;
    QPixmap picture = icon.pixmap;
    if (m_disabled) {
        QStyleOption option;
        option.initFrom(this);
        picture = style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
    }
    painter.drawPixmap(at, picture, QRect(0, 0, icon.width, icon.height));
}

void CXButton::DrawCaption(QPainter& painter, const QRect& caption, const QString& text)
{
    QRect room = caption;
    if (m_pressed && !m_isCheckBox)
        room.translate(kPressedOffset);
    // An image button whose icon fills it has no room left for its caption;
    // centring the words on an empty strip would scatter them over the icon.
    if (room.width() <= 0 || room.height() <= 0)
        return;
    const QRect place = CaptionPlace(painter.fontMetrics(), room, text);
    if (m_disabled) {
        // Embossed: a highlight copy one pixel down-right under the shadow text.
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(place.translated(1, 1), kCaptionFlags, text);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawText(place, kCaptionFlags, text);
        return;
    }
    const ButtonColor ink = (m_hover || m_pressed) ? TextHot : m_focused ? TextFocused : TextNormal;
    painter.setPen(ToQColor(m_colors[ink]));
    painter.drawText(place, kCaptionFlags, text);
}

void CXButton::mouseMoveEvent(QMouseEvent* event)
{
    QAbstractButton::mouseMoveEvent(event);
    // A button entered with the left button already held does not light up.
    if ((event->buttons() & Qt::LeftButton) && !m_hover)
        return;
    if (rect().contains(event->position().toPoint())) {
        if (!m_hover) {
            m_hover = true;
            update();
        }
    } else {
        EndHover();
    }
}

void CXButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    EndHover();
}

void CXButton::focusOutEvent(QFocusEvent* event)
{
    QAbstractButton::focusOutEvent(event);
    EndHover();
}

void CXButton::changeEvent(QEvent* event)
{
    QAbstractButton::changeEvent(event);
    // Qt has already handed the focus on to the next control when a focused
    // button is disabled.
    if ((event->type() == QEvent::ActivationChange && !isActiveWindow()) ||
        (event->type() == QEvent::EnabledChange && !isEnabled()))
        EndHover();
}

bool CXButton::event(QEvent* event)
{
    const bool handled = QAbstractButton::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange) {
        // Colours the owner set are lost: all six follow the new system colours.
        ResetColors();
        m_backgroundCache = QPixmap();
        update();
    }
    return handled;
}

void CXButton::OnClicked()
{
    // Qt has already toggled a check box; the owner hears the click after this.
    setFocus(Qt::MouseFocusReason);
    update();
}

void CXButton::ResetColors()
{
    const QPalette system = QGuiApplication::palette();
    const ColorRef face = FromQColor(system.color(QPalette::Button));
    const ColorRef ink = FromQColor(system.color(QPalette::ButtonText));
    m_colors = {face, ink, face, ink, face, ink};
}

void CXButton::EndHover()
{
    if (!m_hover)
        return;
    m_hover = false;
    update();
}

void CXButton::Repaint(bool asked)
{
    if (asked)
        update();
}
