// Shows the skin as the control window uses it, and a board with every kind of
// skinned button in every state, so that a person (or a screenshot) can judge
// what reads well. `--quit-after MS` closes it by itself.

#include "BgDialog.h"
#include "DialogUnits.h"
#include "MySliderControl.h"
#include "ResourceIds.h"
#include "SpeedValue.h"
#include "TransparentStatic.h"
#include "XButton.h"

#include <QApplication>
#include <QFrame>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

#include <array>

namespace
{

constexpr ColorRef kWhite = 0x00FFFFFF;
constexpr ColorRef kBlue = 0x00FF0000;
constexpr ColorRef kDarkBlue = 0x009B0000;

QFont DialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    return font;
}

struct Place {
    const char* text;
    int x, y, width, height;
};

CTransparentStatic* Label(QWidget* parent, const Place& at, ColorRef color)
{
    auto* label = new CTransparentStatic(parent);
    label->setText(QString::fromLatin1(at.text));
    label->setGeometry(DluRect(at.x, at.y, at.width, at.height));
    label->SetTextColor(color);
    return label;
}

CXButton* ImageButton(QWidget* parent, const Place& at, int icon)
{
    auto* button = new CXButton(parent);
    button->setText(QString::fromLatin1(at.text));
    button->setGeometry(DluRect(at.x, at.y, at.width, at.height));
    button->SetIcons(icon, CXButton::AutoGray);
    button->SizeToImage();
    return button;
}

CXButton* TextButton(QWidget* parent, const Place& at)
{
    auto* button = new CXButton(parent);
    button->setText(QString::fromLatin1(at.text));
    button->setGeometry(DluRect(at.x, at.y, at.width, at.height));
    button->ShiftStateColor(CXButton::BackHot, 100, true);
    for (auto index : {CXButton::TextHot, CXButton::TextNormal, CXButton::TextFocused})
        button->SetStateColor(index, kWhite, true);
    for (auto index : {CXButton::BackHot, CXButton::BackNormal, CXButton::BackFocused})
        button->SetStateColor(index, kDarkBlue, true);
    return button;
}

CXButton* CheckBox(QWidget* parent, const Place& at, bool checked)
{
    auto* box = new CXButton(parent, true);
    box->setText(QString::fromLatin1(at.text));
    box->setGeometry(DluRect(at.x, at.y, at.width, at.height));
    box->UseParentBackground(false);
    box->SetIcons(Ids::kCheckBoxCheckedIcon, Ids::kCheckBoxUncheckedIcon);
    box->ShiftStateColor(CXButton::BackHot, 30, true);
    for (auto index : {CXButton::TextHot, CXButton::TextNormal, CXButton::TextFocused})
        box->SetStateColor(index, kWhite, true);
    box->SetChecked(checked, true);
    return box;
}

void Hover(QWidget* widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QMouseEvent move(QEvent::MouseMove, centre, widget->mapToGlobal(centre), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// The control window's skin and controls at their places.
void BuildSample(CBgDialog& dialog)
{
    auto* bar = new QMenuBar(&dialog);
    for (const char* menu : {"&File", "&Edit", "&Scroll", "&Preferences", "&Help"})
        bar->addMenu(QString::fromLatin1(menu));
    dialog.SetMenuBar(bar);
    dialog.setWindowTitle(QStringLiteral("Vellor Teleprompter Software"));
    QWidget* client = dialog.ClientArea();
    client->setFont(DialogFont());

    auto* slider = new CMySliderControl(client);
    slider->setGeometry(DluRect(253, 130, 145, 15));
    slider->SetThumbColors(0, 0x00C4C4C4);
    slider->setRange(0, kSlowestSpeed);
    slider->setValue(SliderPositionOf(80)); // a first start's speed
    ImageButton(client, {"Select &Font Type and Size", 296, 177, 45, 17}, Ids::kFontIcon);
    ImageButton(client, {"Select &BkGnd Color", 235, 178, 45, 17}, Ids::kBackgroundColorIcon);
    ImageButton(client, {"SCROLL", 358, 177, 45, 19}, Ids::kScrollIcon);
    auto* panel = new QFrame(client);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Mid);
    panel->setGeometry(DluRect(7, 117, 200, 27));
    Label(client,
          {"File: Welcome to Vellor - a sample script with a long name.txt", 10, 118, 195, 9},
          kWhite);
    TextButton(client, {"Load File", 100, 131, 49, 12});
    TextButton(client, {"Save File", 154, 131, 50, 12});
    Label(client, {"Scroll Speed Control", 212, 250, 72, 9}, kBlue);
    Label(client, {"Scroll Speed", 302, 121, 40, 8}, kWhite);
    Label(client, {"Slow", 234, 132, 16, 8}, kWhite);
    Label(client, {"Fast", 400, 132, 16, 8}, kWhite);
    Label(client, {"Display Format", 213, 209, 49, 9}, kBlue);
    CheckBox(client, {"&Mon #1 Fwd", 271, 210, 61, 10}, false);
    CheckBox(client, {"&Mon #1 Rev", 338, 210, 71, 10}, true);
    CheckBox(client, {"&Mon #2 Fwd", 271, 230, 61, 10}, false);
    CheckBox(client, {"&Mon #2 Rev", 338, 230, 71, 10}, false);
    CheckBox(client, {"&Mouse", 289, 251, 37, 10}, false);
    CheckBox(client, {"Mouse &Wheel", 339, 252, 59, 10}, true);
    Label(client, {"Edit Window", 10, 132, 40, 8}, kWhite);
    auto* line = new QFrame(client);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(DluRect(7, 128, 200, 1));
    auto* editor = new QPlainTextEdit(client);
    editor->setGeometry(DluRect(7, 145, 200, 123));
    editor->setPlainText(QStringLiteral("Good evening, and welcome.\n\nThis is the script as the "
                                        "operator types it; SCROLL sends it to the prompter."));
    dialog.SetBackgroundBitmap(Ids::kSkinBitmap);
    dialog.EnableDragByBackground(1);
    dialog.FitClientToBitmap(true);
}

// Rows: kinds of button; columns: idle, hot, pressed, disabled.
void BuildBoard(CBgDialog& board, std::vector<QWidget*>& hot)
{
    board.setWindowTitle(QStringLiteral("Skinned controls"));
    QWidget* client = board.ClientArea();
    client->setFont(DialogFont());
    const std::array<const char*, 4> columns{"idle", "hot", "pressed", "disabled"};
    for (int c = 0; c < 4; ++c)
        Label(client, {columns[c], 44 + 66 * c, 4, 50, 9}, kWhite);
    const std::array<const char*, 6> rows{"SCROLL", "Font", "BkGnd", "Text", "Box", "Box, on"};
    for (int r = 0; r < 6; ++r) {
        Label(client, {rows[r], 4, 20 + 22 * r, 50, 9}, kWhite);
        for (int c = 0; c < 4; ++c) {
            const Place at{r == 3 ? "Load File" : "&Mon #1 Fwd", 44 + 66 * c, 18 + 22 * r, 62, 12};
            CXButton* button = nullptr;
            if (r < 3) {
                const std::array<int, 3> icons{Ids::kScrollIcon, Ids::kFontIcon,
                                               Ids::kBackgroundColorIcon};
                button = ImageButton(client, {"", at.x, at.y, 50, 17}, icons[r]);
            } else if (r == 3) {
                button = TextButton(client, at);
            } else {
                button = CheckBox(client, at, r == 5);
            }
            if (c == 1)
                hot.push_back(button);
            if (c == 2)
                button->setDown(true);
            if (c == 3)
                button->setEnabled(false);
        }
    }
    // A plain slate ground like the skin's cards, so that every state stands
    // on the colour it meets in the control window.
    QPixmap ground(8, 8);
    ground.fill(QColor(28, 38, 58));
    board.SetBackgroundBitmap(ground);
    board.resize(490, 240);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CBgDialog sample;
    BuildSample(sample);
    sample.move(0, 0);
    sample.show();

    CBgDialog board;
    std::vector<QWidget*> hot;
    BuildBoard(board, hot);
    board.move(650, 0);
    board.show();
    // Light the hot column once the windows are up.
    QTimer::singleShot(300, &board, [&hot] {
        for (QWidget* widget : hot)
            Hover(widget);
    });

    const QStringList args = app.arguments();
    const qsizetype quit = args.indexOf(QStringLiteral("--quit-after"));
    if (quit >= 0 && quit + 1 < args.size())
        QTimer::singleShot(args[quit + 1].toInt(), &app, &QApplication::quit);
    return app.exec();
}
