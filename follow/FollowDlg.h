#pragma once

#include "FollowAddress.h"

#include <QDialog>

class QLabel;
class QLineEdit;

// Scroll > Follow a Prompter: where the leader is. The address of its
// remote control and its token, or the phone page's address with the
// token in it, pasted whole. OK takes only what can be followed.
class FollowDlg : public QDialog
{
    Q_OBJECT

  public:
    explicit FollowDlg(QWidget* parent = nullptr);

    /// What was chosen; valid once the dialog was accepted.
    const FollowTarget& Target() const { return m_target; }

  public slots:
    void accept() override;

  private:
    QLineEdit* m_address;
    QLineEdit* m_token;
    QLabel* m_problem;
    FollowTarget m_target;
};
