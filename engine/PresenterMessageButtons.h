#pragma once

#include <QWidget>

// The operator's buttons for a message on the glass, in the preview: a few
// lines a studio uses most, and one that clears the glass. They never take
// the focus, so the prompter window keeps its activation and the run goes on.
class PresenterMessageButtons : public QWidget
{
  public:
    explicit PresenterMessageButtons(QWidget* parent);
};
