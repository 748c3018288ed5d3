#pragma once

#include "GlassLayout.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

// Preferences > Glass: what the prompter picture adds beside the script,
// taken up by the next scroll run.
class GlassDialog : public QDialog
{
  public:
    GlassDialog(const GlassLayout& layout, QWidget* parent);

    // What the operator chose; the layout it was given until OK.
    GlassLayout Chosen() const;

  private:
    QSpinBox* m_margin = nullptr;
    QSpinBox* m_countdown = nullptr;
    QCheckBox* m_clock = nullptr;
};
