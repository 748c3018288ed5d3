#include "GlassDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace
{
QSpinBox* SpinBox(int value, int highest, const QString& suffix, const QString& zero,
                  QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(0, highest);
    box->setValue(value);
    box->setSuffix(suffix);
    box->setSpecialValueText(zero);
    return box;
}
} // namespace

GlassDialog::GlassDialog(const GlassLayout& layout, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Glass"));
    auto* form = new QFormLayout(this);
    m_margin = SpinBox(layout.marginPercent, kMarginHighest, tr(" % each side"), tr("None"), this);
    m_countdown = SpinBox(layout.countdownSeconds, kCountdownLongestSeconds, tr(" seconds"),
                          tr("None"), this);
    m_clock = new QCheckBox(tr("Show the time of day in a corner"), this);
    m_clock->setChecked(layout.clock);
    form->addRow(tr("&Margin:"), m_margin);
    form->addRow(tr("&Countdown before the first movement:"), m_countdown);
    form->addRow(tr("Cloc&k:"), m_clock);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

GlassLayout GlassDialog::Chosen() const
{
    return {m_margin->value(), m_countdown->value(), m_clock->isChecked()};
}
