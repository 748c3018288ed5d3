#pragma once

#include "ScreenOutputs.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QScreen;

// Preferences > Outputs: what each screen connected shows during the next
// runs, Off, Forward or Reversed, beside the prompter's own monitor.
// Screens chosen before but not connected now are named as skipped and
// keep their choice.
class OutputsDialog : public QDialog
{
  public:
    // The choices so far; mainScreen is where the next run's main output goes.
    OutputsDialog(const OutputChoices& choices, const QScreen* mainScreen, QWidget* parent);

    // What the operator chose; the choices it was given until OK.
    OutputChoices Chosen() const;

  private:
    OutputChoices m_choices;
    std::vector<std::pair<QString, QComboBox*>> m_boxes; // per screen connected
};
