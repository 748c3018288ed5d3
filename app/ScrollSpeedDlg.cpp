#include "ScrollSpeedDlg.h"

#include "DialogFont.h"
#include "DialogService.h"
#include "DialogUnits.h"
#include "ModulePath.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>

namespace
{

constexpr std::uint32_t kLowest = 1;
constexpr std::uint32_t kHighest = 1000;

QPushButton* AddButton(QWidget* parent, const QString& text, const QString& name,
                       const QRect& where)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(where);
    return button;
}

void AddText(QWidget* parent, const QString& text, const QRect& where, Qt::Alignment alignment)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setGeometry(where);
}

// The edit's text as an unsigned decimal number; an empty text, one that is not
// a number or one beyond 32 bits reads as 0.
std::uint32_t UnsignedValueOf(const QString& text)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

CScrollSpeedDlg::CScrollSpeedDlg(DialogService& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs)
{
    setWindowTitle(QStringLiteral("Set Scrolling Speed"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    setFixedSize(DluToPixelsX(186), DluToPixelsY(66));

    // Created in tab order: OK, Cancel, then the edit.
    m_okButton =
        AddButton(this, QStringLiteral("OK"), QStringLiteral("ok"), DluRect(73, 45, 50, 14));
    m_okButton->setDefault(true);
    QPushButton* cancelButton = AddButton(this, QStringLiteral("Cancel"), QStringLiteral("cancel"),
                                          DluRect(129, 45, 50, 14));
    AddText(this, QStringLiteral("Speed Value:"), DluRect(24, 15, 44, 11), Qt::AlignLeft);
    AddText(this, QStringLiteral("Note: Valid range is 1 -> 1000"), DluRect(25, 33, 150, 8),
            Qt::AlignHCenter);
    m_speedEdit = new QLineEdit(this);
    m_speedEdit->setObjectName(QStringLiteral("speedEdit"));
    m_speedEdit->setGeometry(DluRect(73, 13, 52, 13));
    // Digits only, whether typed or pasted.
    m_speedEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_speedEdit));

    connect(m_okButton, &QPushButton::clicked, this, &CScrollSpeedDlg::accept);
    connect(cancelButton, &QPushButton::clicked, this, &CScrollSpeedDlg::reject);
}

void CScrollSpeedDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // A window restored by the system is no new opening.
    if (event->spontaneous())
        return;
    m_speedEdit->setText(QString::number(m_nSpeed));
    m_okButton->setFocus();
}

void CScrollSpeedDlg::accept()
{
    const std::uint32_t speed = UnsignedValueOf(m_speedEdit->text());
    if (speed < kLowest || speed > kHighest) {
        m_dialogs.ShowMessage(this,
                              QStringLiteral("The valid range for Scroll speed value is 1 - 1000.\n"
                                             "Please enter an appropriate value."),
                              ApplicationTitle(), MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    m_nSpeed = static_cast<std::int32_t>(speed);
    QDialog::accept();
}
