#pragma once

#include <QDialog>
#include <QPixmap>
#include <cstdint>

class QMenuBar;
class QPainter;

// A dialog whose client area, below an optional menu bar, shows a picture (the
// skin) instead of the plain dialog colour, and which the user can move by
// dragging anywhere on that picture. Controls are placed on ClientArea() at
// absolute positions; the skin is composed off-screen and reaches the screen in
// one copy, so it never flickers while the copies are laid out.
class CBgDialog : public QDialog
{
    Q_OBJECT

  public:
    /// How the skin is laid out in the client area.
    enum BackgroundMode : std::uint8_t {
        Tile = 0,  ///< repeated from the top-left corner across and down
        Center = 1 ///< one copy, centred; a larger skin is cut equally on both sides
    };

    /// Results of SetBackgroundBitmap.
    enum BgStatus : std::int32_t {
        BgOk = 0,       ///< done
        BgBadBitmap = 1 ///< the bitmap's size could not be read; a QPixmap always knows
                        ///< its size, so callers on Qt only ever see BgOk
    };

    /// A dialog without a skin, in Tile mode, with dragging off.
    explicit CBgDialog(QWidget* parent = nullptr);
    ~CBgDialog() override;

    /// The area below the menu bar where the skin is painted and the controls sit.
    QWidget* ClientArea() const;

    /// Puts `bar` above the client area; the dialog takes ownership.
    void SetMenuBar(QMenuBar* bar);

    /// Replaces the skin by `bitmap` (a null pixmap removes it) and repaints.
    BgStatus SetBackgroundBitmap(const QPixmap& bitmap);

    /// Replaces the skin by artwork `resourceId`; a missing resource leaves no skin.
    BgStatus SetBackgroundBitmap(int resourceId);

    /// Stores `value`; only the value 1 lets a left press on the background move the window.
    int EnableDragByBackground(int value);

    /// Resizes the window, keeping its top-left corner, so that the client area
    /// is exactly the skin's size, and switches to Center mode. Always 0.
    int FitClientToBitmap(bool repaint);

    /// The current layout of the skin.
    BackgroundMode Mode() const { return m_backgroundMode; }
    /// The skin's width in pixels, 0 without a skin.
    int BitmapWidth() const { return m_bitmapWidth; }
    /// The skin's height in pixels, 0 without a skin.
    int BitmapHeight() const { return m_bitmapHeight; }
    /// The skin itself; null without one.
    const QPixmap& BackgroundBitmap() const { return m_backgroundBitmap; }

    /// What `child`'s parent paints behind the child (its own picture, no sibling
    /// controls), the size of the child; controls that look transparent keep it.
    static QPixmap BackgroundBehind(const QWidget& child);

  protected:
    /// Called after every background paint has reached the screen, with a
    /// painter still open on the composed off-screen picture. Does nothing here.
    virtual void OnAfterBackgroundPaint(QPainter& composed);

    /// Starts the window system's move of the window; the drag seam for tests.
    virtual void BeginWindowDrag();

  private:
    class SkinArea;

    void PaintBackground(QPainter& screen, const QSize& clientSize);
    void OnBackgroundPress(Qt::MouseButton button);
    void ReleaseBitmap();

    QPixmap m_backgroundBitmap; // the skin, owned; null = no skin
    std::int32_t m_bitmapWidth = 0;
    std::int32_t m_bitmapHeight = 0;
    BackgroundMode m_backgroundMode = Tile;
    std::int32_t m_dragByBackground = 0;
    SkinArea* m_client = nullptr;
};
