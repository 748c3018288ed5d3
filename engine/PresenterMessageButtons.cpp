#include "PresenterMessageButtons.h"

#include "PresenterMessage.h"

#include <QGridLayout>
#include <QPushButton>

#include <array>
#include <chrono>

namespace
{
constexpr std::array kLines = {"WRAP UP", "WRAP IN 30", "SLOW DOWN", "SPEED UP", "STAND BY"};
constexpr int kColumns = 3;
} // namespace

PresenterMessageButtons::PresenterMessageButtons(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto add = [&](const QString& label, const QString& line) {
        auto* button = new QPushButton(label, this);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this,
                [line] { ShowPresenterMessage(line, 0, std::chrono::steady_clock::now()); });
        const int at = grid->count();
        grid->addWidget(button, at / kColumns, at % kColumns);
    };
    for (const char* line : kLines)
        add(QString::fromLatin1(line), QString::fromLatin1(line));
    add(tr("Clear"), QString());
}
