#include "AboutDlg.h"

#include "DialogFont.h"
#include "DialogService.h"
#include "DialogUnits.h"
#include "HyperLink.h"
#include "ResourceIds.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace
{

QLabel* AddText(QWidget* parent, const QString& text, const QRect& where,
                Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    label->setGeometry(where);
    return label;
}

QLabel* AddPicture(QWidget* parent, int id, const QPoint& where)
{
    auto* label = new QLabel(parent);
    const QPixmap picture(ImageResourcePath(id));
    label->setPixmap(picture);
    // A picture control takes the size of its picture.
    label->setGeometry(QRect(where, picture.size()));
    return label;
}

void AddEtchedLine(QWidget* parent, const QRect& where)
{
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(where);
}

QString OrNotSpecified(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("Not Specified") : text;
}

} // namespace

CAboutDlg::CAboutDlg(DialogService& dialogs, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Vellor Teleprompter"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DialogFont());
    setFixedSize(DluToPixelsX(215), DluToPixelsY(234));
    CreateControls(dialogs);
}

void CAboutDlg::CreateControls(DialogService& dialogs)
{
    AddPicture(this, Ids::kAboutPicture, DluRect(8, 0, 200, 101).topLeft());
    auto* productLine = AddText(this, QStringLiteral("Vellor Teleprompter Software Version 1.0"),
                                DluRect(33, 105, 119, 8));
    productLine->setObjectName(QStringLiteral("productLine"));
    // The layout was measured with a narrower font than most platforms have;
    // the line grows to the right rather than lose its version number.
    productLine->resize(std::max(productLine->width(), productLine->sizeHint().width()),
                        productLine->height());
    auto* notice = AddText(this,
                           QStringLiteral("Written and looked after by the Vellor developers. "
                                          "Your scripts and settings stay on this computer. "
                                          "News and new releases are on the web site below."),
                           DluRect(33, 113, 151, 34));
    notice->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(DluRect(159, 216, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    AddPicture(this, Ids::kProgramIcon, DluRect(7, 105, 20, 20).topLeft());
    AddEtchedLine(this, DluRect(6, 195, 200, 1));

    m_link = new CHyperLink(dialogs, this);
    m_link->setObjectName(QStringLiteral("link"));
    m_link->setText(QStringLiteral(VELLOR_HOMEPAGE_URL));
    m_link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_link->setGeometry(DluRect(27, 199, 130, 8));

    AddEtchedLine(this, DluRect(7, 149, 200, 1));
    AddText(this, QStringLiteral("Release Date: "), DluRect(7, 154, 48, 8),
            Qt::AlignRight | Qt::AlignTop);
    AddText(this, QStringLiteral("Version: "), DluRect(26, 165, 29, 8),
            Qt::AlignRight | Qt::AlignTop);
    m_releaseDate = AddText(this, QStringLiteral("<<RELEASE DATE>>"), DluRect(56, 154, 122, 8));
    m_releaseDate->setObjectName(QStringLiteral("releaseDate"));
    m_version = AddText(this, QStringLiteral("<<VERSION>>"), DluRect(56, 166, 122, 8));
    m_version->setObjectName(QStringLiteral("version"));
    AddEtchedLine(this, DluRect(5, 209, 200, 1));
    ok->setFocus();
}

void CAboutDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CAboutDlg::OnInitDialog()
{
    m_link->Attach();
    m_releaseDate->setText(OrNotSpecified(m_strReleaseDate));
    m_version->setText(OrNotSpecified(m_strVersion));
}

void ShowAboutBox(DialogService& dialogs, QWidget* owner)
{
    CAboutDlg about(dialogs, owner);
    about.m_strVersion = QStringLiteral("20.0.0.0");
    about.m_strReleaseDate = QStringLiteral("Nov 18 2013");
    dialogs.ExecDialog(about);
}
