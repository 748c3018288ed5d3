#pragma once

#include <QDialog>
#include <QString>

class CHyperLink;
class DialogService;
class QLabel;

// The about box: the about picture, the product line, the maker's notice,
// the version and release date the caller sets, and a link to the maker's
// web site.
class CAboutDlg : public QDialog
{
    Q_OBJECT
  public:
    /// An about box whose link reports failures through `dialogs`.
    explicit CAboutDlg(DialogService& dialogs, QWidget* parent = nullptr);

    QString m_strVersion;     ///< version text, set before the box is shown
    QString m_strReleaseDate; ///< release-date text, set before the box is shown

  protected:
    /// Fills in the version and release date the first time the box shows.
    void showEvent(QShowEvent* event) override;

  private:
    void CreateControls(DialogService& dialogs);
    void OnInitDialog();

    CHyperLink* m_link = nullptr;
    QLabel* m_releaseDate = nullptr;
    QLabel* m_version = nullptr;
    bool m_initialised = false;
};

/// Runs the about box over `owner` with this release's version and date.
void ShowAboutBox(DialogService& dialogs, QWidget* owner);
