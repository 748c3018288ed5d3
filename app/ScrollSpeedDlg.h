#pragma once

#include <QDialog>
#include <cstdint>

class DialogService;
class QLineEdit;
class QPushButton;

// "Set Scrolling Speed": the operator types a whole number from 1 to 1000.
// The caller presets m_nSpeed, runs the dialog and, after Accepted, reads the
// accepted value back from m_nSpeed; after Rejected m_nSpeed is as it was.
class CScrollSpeedDlg : public QDialog
{
    Q_OBJECT

  public:
    /// A dialog whose range message goes through `dialogs`.
    explicit CScrollSpeedDlg(DialogService& dialogs, QWidget* parent = nullptr);

    /// Shown when the dialog opens; after an accepted OK, the value typed.
    std::int32_t m_nSpeed = 0;

    /// OK: accepts a value of 1 to 1000, otherwise shows the range message and stays open.
    void accept() override;

  protected:
    /// Puts m_nSpeed into the edit and the focus on OK each time the dialog opens.
    void showEvent(QShowEvent* event) override;

  private:
    DialogService& m_dialogs;
    QPushButton* m_okButton;
    QLineEdit* m_speedEdit;
};
