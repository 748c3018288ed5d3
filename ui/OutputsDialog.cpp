#include "OutputsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace
{
QString ScreenLabel(const QScreen& screen, bool prompters)
{
    const QSize size = screen.size() * screen.devicePixelRatio();
    const QString label =
        QObject::tr("%1, %2 x %3").arg(screen.name()).arg(size.width()).arg(size.height());
    return (prompters ? QObject::tr("%1 (the prompter's monitor)").arg(label) : label) +
           QLatin1Char(':');
}
} // namespace

OutputsDialog::OutputsDialog(const OutputChoices& choices, const QScreen* mainScreen,
                             QWidget* parent)
    : QDialog(parent), m_choices(choices)
{
    setWindowTitle(tr("Outputs"));
    auto* form = new QFormLayout(this);
    auto* intro = new QLabel(
        tr("Each screen set to Forward or Reversed shows the run as well, at its own size."), this);
    intro->setWordWrap(true);
    form->addRow(intro);
    QStringList names;
    for (QScreen* screen : QGuiApplication::screens()) {
        names.append(screen->name());
        auto* box = new QComboBox(this);
        // In the order of the choices' values.
        box->addItems({tr("Off"), tr("Forward"), tr("Reversed")});
        box->setCurrentIndex(static_cast<int>(ChoiceFor(choices, screen->name())));
        // The main output wins: its screen shows the run once, as chosen there.
        if (screen == mainScreen)
            box->setToolTip(tr("The prompter's monitor: it shows the run as the display "
                               "format says, whatever is chosen here."));
        form->addRow(ScreenLabel(*screen, screen == mainScreen), box);
        m_boxes.emplace_back(screen->name(), box);
    }
    const OutputPlan plan = PlanOutputs(choices, names, QString(), false);
    if (!plan.missing.isEmpty()) {
        auto* missing = new QLabel(
            tr("Not connected now, so skipped: %1.").arg(plan.missing.join(QStringLiteral(", "))),
            this);
        missing->setWordWrap(true);
        form->addRow(missing);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

OutputChoices OutputsDialog::Chosen() const
{
    OutputChoices chosen = m_choices;
    for (const auto& [screen, box] : m_boxes)
        SetChoice(chosen, screen, static_cast<OutputChoice>(box->currentIndex()));
    return chosen;
}
