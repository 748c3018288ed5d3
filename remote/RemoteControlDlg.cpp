#include "RemoteControlDlg.h"

#include "QrCodeImage.h"
#include "RemoteAddress.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace
{
constexpr int kQrModulePixels = 4;
} // namespace

RemoteControlDlg::RemoteControlDlg(const RemoteSettings& settings, int clients, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    setWindowTitle(QStringLiteral("Remote Control"));
    m_enabled = new QCheckBox(QStringLiteral("&Turn on remote control"), this);
    m_lanAccess =
        new QCheckBox(QStringLiteral("Allow the &local network (phones, other computers)"), this);
    m_port = new QSpinBox(this);
    m_port->setRange(kLowestPort, kHighestPort);
    auto* newToken = new QPushButton(QStringLiteral("&New Token"), this);
    newToken->setToolTip(QStringLiteral("Makes a new token; the old address stops working"));
    m_address = new QLabel(this);
    m_address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_address->setWordWrap(true);
    m_address->setMinimumWidth(360);
    m_qrCode = new QLabel(this);
    m_qrCode->setAlignment(Qt::AlignCenter);
    m_clients = new QLabel(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Port:"), m_port);
    form->addRow(QString(), newToken);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_enabled);
    layout->addWidget(m_lanAccess);
    layout->addLayout(form);
    layout->addWidget(m_address);
    layout->addWidget(m_qrCode);
    layout->addWidget(m_clients);
    layout->addWidget(buttons);

    m_enabled->setChecked(settings.enabled);
    m_lanAccess->setChecked(settings.lanAccess);
    m_port->setValue(settings.port);
    SetClientCount(clients);
    ShowAddress();

    connect(m_enabled, &QCheckBox::toggled, this, &RemoteControlDlg::TakeControls);
    connect(m_lanAccess, &QCheckBox::toggled, this, &RemoteControlDlg::TakeControls);
    connect(m_port, &QSpinBox::valueChanged, this, &RemoteControlDlg::TakeControls);
    connect(newToken, &QPushButton::clicked, this, &RemoteControlDlg::OnNewToken);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void RemoteControlDlg::SetClientCount(int count)
{
    m_clients->setText(QStringLiteral("Connected clients: %1").arg(count));
}

void RemoteControlDlg::OnNewToken()
{
    m_settings.token = MakeRemoteToken();
    ShowAddress();
}

void RemoteControlDlg::TakeControls()
{
    m_settings.enabled = m_enabled->isChecked();
    m_settings.lanAccess = m_lanAccess->isChecked();
    m_settings.port = m_port->value();
    // The first time it is turned on, the remote gets its token.
    if (m_settings.enabled && !IsStrongRemoteToken(m_settings.token))
        m_settings.token = MakeRemoteToken();
    ShowAddress();
}

void RemoteControlDlg::ShowAddress()
{
    if (!m_settings.enabled) {
        m_address->setText(QStringLiteral("Remote control is off."));
        m_qrCode->clear();
        return;
    }
    const QString address =
        PhoneAddress(ReachableAddress(m_settings.lanAccess), m_settings.port, m_settings.token);
    QString text = QStringLiteral("Open on a phone:\n") + address;
    if (!m_settings.lanAccess)
        text +=
            QStringLiteral("\nOnly this computer can reach it until the local network is allowed.");
    m_address->setText(text);
    m_qrCode->setPixmap(QPixmap::fromImage(QrCodeImage(address.toUtf8(), kQrModulePixels)));
}
