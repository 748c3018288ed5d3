#include "FollowDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace
{
constexpr int kAddressFieldWidth = 360;
} // namespace

FollowDlg::FollowDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Follow a Prompter"));
    auto* intro = new QLabel(
        QStringLiteral("This prompter shows the other's script and moves with it. Paste the "
                       "address from its Remote Control dialog, or give the address and the "
                       "token apart. Esc on the prompter ends the following."),
        this);
    intro->setWordWrap(true);
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setMinimumWidth(kAddressFieldWidth);
    m_address->setPlaceholderText(QStringLiteral("http://192.168.1.20:8787/#token=..."));
    m_token = new QLineEdit(this);
    m_token->setPlaceholderText(QStringLiteral("in the address already"));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Address:"), m_address);
    form->addRow(QStringLiteral("&Token:"), m_token);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FollowDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FollowDlg::reject);
}

void FollowDlg::accept()
{
    const auto read = ReadFollowAddress(m_address->text(), m_token->text());
    if (const auto* problem = std::get_if<QString>(&read)) {
        m_problem->setText(*problem);
        return;
    }
    m_target = std::get<FollowTarget>(read);
    QDialog::accept();
}
