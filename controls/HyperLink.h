#pragma once

#include "ColorRef.h"

#include <QFont>
#include <QLabel>
#include <QTimer>
#include <functional>

class DialogService;

// A label that is a link: its text is drawn in the link colour over whatever
// lies behind it, turns to the hover colour while the pointer is over it and
// to the visited colour once its target has been opened. A click opens the
// target; a failure beeps and says why.
//
// The owner places the label (text, geometry, alignment) and then calls
// Attach(), which takes the target from the text and fits the label to it.
class CHyperLink : public QLabel
{
    Q_OBJECT
  public:
    /// Opens a target and returns the shell's result code (above 32: opened).
    using Opener = std::function<int(const QString& target)>;

    /// A link that reports failures through `dialogs` and opens targets through the desktop.
    explicit CHyperLink(DialogService& dialogs, QWidget* parent = nullptr);

    /// Replaces the way targets are opened (tests open nothing).
    void SetOpener(Opener opener);

    /// Takes the label over as placed: target from the text (or the text from
    /// the target), the starting hover look, fit to text, cursor and tool tip.
    void Attach();

    /// Moves and sizes the label to its text, keeping the edge its alignment names.
    void FitToText();

    /// What a click opens.
    const QString& Target() const { return m_strTarget; }
    /// Sets what a click opens; Attach() keeps a target set before it.
    void SetTarget(const QString& target) { m_strTarget = target; }
    /// True once the target has been opened successfully.
    bool IsVisited() const { return m_bVisited; }
    /// True while the link shows its hover look.
    bool IsPointerOver() const { return m_bPointerOver; }
    /// The colour the text is drawn in now.
    QColor CurrentTextColor() const;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void PointerEntered();
    void OnHoverTimer();
    void Click();
    void ApplyLook(const QFont& font);
    void ReportFailure(int result);

    DialogService& m_dialogs;
    Opener m_opener;
    ColorRef m_crLink = MakeColorRef(0, 0, 238);
    ColorRef m_crVisited = MakeColorRef(85, 26, 139);
    ColorRef m_crHover = MakeColorRef(255, 0, 0);
    bool m_bPointerOver = false;
    bool m_bVisited = false;
    QString m_strTarget;
    QFont m_hoverFont;
    QFont m_normalFont;
    // Runs while the hover look shows; its tick restores the normal look once
    // the pointer is elsewhere.
    QTimer m_hoverTimer;
};

/// The rectangle a link of `window` size takes to fit text of `textSize`:
/// `borders` is what the frame adds around the text; the alignment says which
/// edges stay (left, right or centred; top or vertically centred).
QRect FitLinkRect(const QRect& window, const QSize& borders, const QSize& textSize,
                  Qt::Alignment alignment);

/// The text the link shows for the shell's result code `result`.
QString ShellErrorText(int result);
