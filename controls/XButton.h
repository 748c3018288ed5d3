#pragma once

#include "ColorRef.h"

#include <QAbstractButton>
#include <QPixmap>
#include <array>
#include <cstdint>

class QPainter;

// A flat, self-painted button for the skinned control window: no border at
// rest, a raised edge under the pointer, a sunken edge while pressed, an
// optional icon left of the caption (with an idle icon or a grey copy shown at
// rest), six state colours, optionally a copy of the parent's background as
// its face, and in check-box mode a check state shown by its icons. Once the
// keyboard has moved the focus in its window, the focused button shows a
// dotted mark.
class CXButton : public QAbstractButton
{
    Q_OBJECT

  public:
    /// Indices of the six state colours.
    enum ButtonColor : std::uint8_t {
        BackHot = 0,     ///< face while hovered or pressed
        TextHot = 1,     ///< caption while hovered or pressed
        BackNormal = 2,  ///< face otherwise
        TextNormal = 3,  ///< caption otherwise
        BackFocused = 4, ///< face while focused (not hovered or pressed)
        TextFocused = 5  ///< caption while focused (not hovered or pressed)
    };

    /// Results of the owner's operations.
    enum ButtonStatus : std::int32_t {
        ButtonOk = 0,          ///< done
        ButtonBadResource = 1, ///< an icon could not be read or greyed; all icons dropped
        ButtonBadIndex = 3,    ///< colour index above 5; nothing changed
        ButtonBadValue = 5     ///< shade outside -255..255; nothing changed
    };

    /// What to show at rest when no idle picture is given.
    enum IdleIcon : int {
        NoIdleIcon = 0, ///< the active icon at all times
        AutoGray = -2   ///< a grey copy of the active icon
    };

    /// The platform's button types; a type with the bit of value 2 works in check-box mode.
    enum class ButtonType : int {
        PushButton = 0,
        DefPushButton = 1,
        CheckBox = 2,
        AutoCheckBox = 3,
        RadioButton = 4,
        ThreeState = 5,
        AutoThreeState = 6,
        GroupBox = 7,
        UserButton = 8,
        AutoRadioButton = 9,
        PushBox = 10,
        OwnerDraw = 11
    };

    /// A push button, or an auto check box when `checkBox` is true.
    explicit CXButton(QWidget* parent = nullptr, bool checkBox = false);
    /// A button made from a dialog button of type `type`.
    CXButton(ButtonType type, QWidget* parent);
    ~CXButton() override;

    /// Replaces both icons; a null `idle` shows `active` at all times. Repaints.
    ButtonStatus SetIcons(const QPixmap& active, const QPixmap& idle);
    /// Replaces both icons, the idle one none or a grey copy of `active`. Repaints.
    ButtonStatus SetIcons(const QPixmap& active, IdleIcon idle);
    /// Loads artwork `activeId` and `idleId` (or 0, or AutoGray); a missing one counts as none.
    ButtonStatus SetIcons(int activeId, int idleId);

    /// Sets the tool tip's text (a null text changes nothing) and shows it or not.
    void SetToolTipText(const QString& text, bool activate);

    /// Stores colour `index`; repaints when asked.
    ButtonStatus SetStateColor(int index, ColorRef color, bool repaint);
    /// Lightens (shade > 0) or darkens colour `index` by one offset on all three components.
    ButtonStatus ShiftStateColor(int index, int shade, bool repaint);
    /// The stored colour `index` (0..5); black for a bad index.
    ColorRef StateColor(int index) const;

    /// Paints the parent's background as the face from now on; the copy is taken at the next paint.
    void UseParentBackground(bool repaint);

    /// Makes an image button exactly its active icon's size, without a margin.
    void SizeToImage();

    /// In check-box mode sets the check state; otherwise does nothing. Always ButtonOk.
    ButtonStatus SetChecked(bool check, bool repaint);
    /// The check state; always false outside check-box mode.
    bool IsChecked() const;
    /// The check message: 1 (checked) and 2 (indeterminate) check, any other value unchecks.
    int SetCheck(int checkValue);
    /// The style message: type DefPushButton makes the default button, PushButton undoes it.
    void SetButtonStyle(ButtonType type, bool redraw);

    /// Whether the button keeps a check state.
    bool IsCheckBox() const { return m_isCheckBox; }
    /// Whether the button is the dialog's default push button.
    bool IsDefault() const { return m_isDefault; }
    /// Whether the pointer is over the button.
    bool IsHovered() const { return m_hover; }
    /// The gap left of the icon and between icon and caption.
    int ImageMargin() const { return m_imageMargin; }

    /// One-pixel lines: top and left in `topLeft`, bottom and right in `bottomRight`.
    static void Draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft,
                           const QColor& bottomRight);

    /// Room for the icon and the caption.
    QSize sizeHint() const override;

  protected:
    /// Paints the face, the edge, the icon and the caption for the present state.
    void paintEvent(QPaintEvent* event) override;
    /// Fills the face with the colour of the present state.
    virtual void DrawFace(QPainter& painter, const QRect& item);
    /// Draws the raised (hover) or sunken (pressed) one-pixel edge.
    virtual void DrawEdge(QPainter& painter, const QRect& item);
    /// Draws the icon of the present state and narrows `caption` to the room beside it.
    virtual void DrawImage(QPainter& painter, const QRect& item, QRect& caption);
    /// Draws the caption centred in `caption`, its mnemonic underlined.
    virtual void DrawCaption(QPainter& painter, const QRect& caption, const QString& text);
    /// Draws the dotted mark of the keyboard focus around the caption or inside the edge.
    virtual void DrawFocusMark(QPainter& painter, const QRect& item, const QRect& caption);

    /// Hover follows the pointer, except onto the button with the left button held.
    void mouseMoveEvent(QMouseEvent* event) override;
    /// Hover ends when the pointer leaves.
    void leaveEvent(QEvent* event) override;
    /// Hover ends with the focus.
    void focusOutEvent(QFocusEvent* event) override;
    /// Hover ends when the window is deactivated or the button disabled.
    void changeEvent(QEvent* event) override;
    /// A change of the system palette resets all six colours.
    bool event(QEvent* event) override;

  private:
    struct Icon {
        QPixmap pixmap;
        int width = 0;
        int height = 0;
    };

    void OnClicked();
    ButtonStatus StoreIcons(const QPixmap& active, const QPixmap& idle);
    void ResetColors();
    void EndHover();
    void Repaint(bool asked);
    void DrawParentBackground(QPainter& painter);

    int m_imageMargin = 3;
    bool m_hover = false;
    bool m_parentBackground = false;
    bool m_pressed = false;  // set at each paint
    bool m_focused = false;  // set at each paint
    bool m_disabled = false; // set at each paint
    bool m_isDefault = false;
    bool m_isCheckBox = false;
    std::array<ColorRef, 6> m_colors{};
    QPixmap m_backgroundCache;   // the parent's background behind the button
    std::array<Icon, 2> m_icons; // 0 = active (hot or pressed), 1 = idle
};
