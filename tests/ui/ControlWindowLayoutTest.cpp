#include "ControlWindowFixture.h"

#include "DialogUnits.h"
#include "ModulePath.h"
#include "TransparentStatic.h"

#include <QLabel>

#include <tuple>

namespace
{

struct Placed {
    int id;
    QRect units;
    const char* text;
};

// Every control of the template with an id, at its place in dialog units.
const Placed kPlaced[] = {
    {Ids::kSpeedSlider, {253, 130, 145, 15}, ""},
    {Ids::kFileLabel, {10, 118, 195, 9}, "FILE: "},
    {Ids::kLoadFileButton, {100, 131, 49, 12}, "Load File"},
    {Ids::kSaveFileButton, {154, 131, 50, 12}, "Save File"},
    {Ids::kScrollSpeedControlLabel, {212, 250, 72, 9}, "Scroll Speed Control"},
    {Ids::kScrollSpeedLabel, {302, 121, 40, 8}, "Scroll Speed"},
    {Ids::kSlowLabel, {234, 132, 16, 8}, "Slow"},
    {Ids::kFastLabel, {400, 132, 16, 8}, "Fast"},
    {Ids::kDisplayFormatLabel, {213, 209, 49, 9}, "Display Format"},
    {Ids::kMon1FwdCheck, {271, 210, 61, 10}, "&Mon #1 Fwd"},
    {Ids::kMon1RevCheck, {338, 210, 71, 10}, "&Mon #1 Rev"},
    {Ids::kMon2FwdCheck, {271, 230, 61, 10}, "&Mon #2 Fwd"},
    {Ids::kMon2RevCheck, {338, 230, 71, 10}, "&Mon #2 Rev"},
    {Ids::kMouseCheck, {289, 251, 37, 10}, "&Mouse"},
    {Ids::kMouseWheelCheck, {339, 252, 59, 10}, "Mouse &Wheel"},
    {Ids::kEditWindowLabel, {10, 132, 40, 8}, "Edit Window"},
    {Ids::kMonitorsLabel, {213, 250, 28, 8}, "Monitors"},
    {Ids::kEnableSecondaryCheck, {309, 248, 94, 10}, "Enable Secondry Display"},
    {Ids::kDisableSecondaryCheck, {309, 261, 95, 10}, "Disable Secondry Display"},
    {Ids::kScriptEditor, {7, 145, 200, 123}, ""},
};

QRect Pixels(const QRect& units)
{
    return DluRect(units.x(), units.y(), units.width(), units.height());
}

QString WithoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&'));
}

} // namespace

class ControlWindowLayout : public ControlWindowFixture
{
};

TEST_F(ControlWindowLayout, PlacesEveryControlWithItsTextAtItsConvertedPosition)
{
    Open();
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Vellor Teleprompter Software"));
    EXPECT_EQ(Window().ClientArea()->size(), QSize(640, 480));
    EXPECT_TRUE(Window().isVisible());
    for (const Placed& placed : kPlaced) {
        SCOPED_TRACE(placed.id);
        const QRect expected = Pixels(placed.units);
        int found = 0;
        for (QWidget* child : Window().ClientArea()->findChildren<QWidget*>()) {
            if (child->geometry() != expected)
                continue;
            ++found;
            if (auto* button = qobject_cast<CXButton*>(child)) {
                EXPECT_EQ(button->text(), QString::fromLatin1(placed.text));
                EXPECT_EQ(button->font().pixelSize(), 10);
            } else if (auto* label = qobject_cast<QLabel*>(child)) {
                EXPECT_EQ(label->text(), QString::fromLatin1(placed.text));
            }
        }
        EXPECT_GE(found, 1);
    }
    EXPECT_EQ(Window().FileLabel().font().pixelSize(), 10);
    // The image buttons take their icon's size at their template position;
    // the 75 x 25 icons count as 74 x 24, as the platform measures icons.
    const std::tuple<int, QRect, const char*> imageButtons[] = {
        {Ids::kFontButton, {296, 177, 45, 17}, "Select &Font Type and Size"},
        {Ids::kBackColorButton, {235, 178, 45, 17}, "Select &BkGnd Color"},
        {Ids::kScrollButton, {358, 177, 45, 19}, "SCROLL"},
    };
    for (const auto& [id, units, text] : imageButtons) {
        EXPECT_EQ(Box(id).geometry(), QRect(Pixels(units).topLeft(), QSize(74, 24)));
        EXPECT_EQ(Box(id).text(), QString::fromLatin1(text));
    }
}
TEST_F(ControlWindowLayout, EveryTextFitsTheWidthItsControlIsGiven)
{
    Open();
    for (CTransparentStatic* label : Window().findChildren<CTransparentStatic*>()) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    }
    for (const Placed& placed : kPlaced) {
        CXButton* box = Window().Button(placed.id);
        if (!box || !box->IsCheckBox())
            continue;
        SCOPED_TRACE(placed.text);
        // The 16-pixel check icon and its margins stand beside the caption.
        EXPECT_LE(box->fontMetrics().horizontalAdvance(WithoutMnemonic(box->text())) + 16 + 6,
                  box->width());
    }
}

TEST_F(ControlWindowLayout, TheWindowKeepsTheSkinsSizeAndOffersNoOtherToTheWindowSystem)
{
    Open();
    const QSize size = Window().size();
    EXPECT_EQ(Window().windowHandle()->minimumSize(), size);
    EXPECT_EQ(Window().windowHandle()->maximumSize(), size);
    Window().resize(size + QSize(100, 80));
    EXPECT_EQ(Window().size(), size);
    EXPECT_EQ(Window().ClientArea()->size(), QSize(640, 480));
}

TEST_F(ControlWindowLayout, TabOrderFollowsTheTemplate)
{
    Open();
    const QList<QWidget*> expected = {
        &Window().SpeedSlider(),
        Window().Button(Ids::kFontButton),
        Window().Button(Ids::kBackColorButton),
        Window().Button(Ids::kScrollButton),
        Window().Button(Ids::kLoadFileButton),
        Window().Button(Ids::kSaveFileButton),
        Window().Button(Ids::kMon1FwdCheck),
        Window().Button(Ids::kMon1RevCheck),
        Window().Button(Ids::kMon2FwdCheck),
        Window().Button(Ids::kMon2RevCheck),
        Window().Button(Ids::kMouseCheck),
        Window().Button(Ids::kMouseWheelCheck),
        &Window().Editor(),
    };
    QList<QWidget*> chain;
    QWidget* w = &Window().SpeedSlider();
    do {
        if (expected.contains(w))
            chain.append(w);
        w = w->nextInFocusChain();
    } while (w != &Window().SpeedSlider());
    EXPECT_EQ(chain, expected);
}

TEST_F(ControlWindowLayout, HiddenControlsStayHidden)
{
    Open();
    EXPECT_FALSE(Box(Ids::kEnableSecondaryCheck).isVisible());
    EXPECT_FALSE(Box(Ids::kDisableSecondaryCheck).isVisible());
    for (auto* label : Window().findChildren<CTransparentStatic*>()) {
        if (label->text() == QStringLiteral("Monitors")) {
            EXPECT_FALSE(label->isVisible());
        }
    }
    // The window's own commands never show them.
    Window().RunCommand(Ids::kCmdMon2Fwd);
    Window().RunCommand(Ids::kCmdMouse);
    EXPECT_FALSE(Box(Ids::kEnableSecondaryCheck).isVisible());
    EXPECT_FALSE(Box(Ids::kDisableSecondaryCheck).isVisible());
}

TEST_F(ControlWindowLayout, StartSelectsMonitorOneWithTheStoredReadingAndMouseMode)
{
    // A first start's values, then the others.
    for (const bool firstStart : {true, false}) {
        SCOPED_TRACE(firstStart);
        m_window.reset();
        Create();
        Window().m_settings.m_bRightReading = !firstStart;
        Window().m_settings.m_bUseMouse = !firstStart;
        Window().m_bMonitor2 = true;
        Open();
        EXPECT_EQ(Checked(Ids::kMon1FwdCheck), !firstStart);
        EXPECT_EQ(Checked(Ids::kMon1RevCheck), firstStart);
        EXPECT_EQ(Checked(Ids::kMouseCheck), !firstStart);
        EXPECT_EQ(Checked(Ids::kMouseWheelCheck), firstStart);
        for (const int id : {Ids::kMon2FwdCheck, Ids::kMon2RevCheck, Ids::kEnableSecondaryCheck,
                             Ids::kDisableSecondaryCheck})
            EXPECT_FALSE(Checked(id)) << id;
        EXPECT_FALSE(Window().m_bMonitor2);
    }
}

TEST_F(ControlWindowLayout, SliderShowsTheSpeedReversedAndClosingReadsItAndTheMouseFlagBack)
{
    Create();
    Window().m_settings.m_nScrollSpeed = 80;
    Open();
    EXPECT_EQ(Window().SpeedSlider().value(), 32000 - 80);
    EXPECT_EQ(Window().SpeedSlider().minimum(), 0);
    EXPECT_EQ(Window().SpeedSlider().maximum(), 32000);
    Window().SpeedSlider().setValue(30000);
    Box(Ids::kMouseCheck).SetChecked(true, false);
    Window().done(QDialog::Rejected);
    EXPECT_EQ(Window().m_settings.m_nScrollSpeed, 2000);
    EXPECT_TRUE(Window().m_settings.m_bUseMouse);

    // A speed out of range starts the slider at its end and is saved clamped.
    m_window.reset();
    Create();
    Window().m_settings.m_nScrollSpeed = 40000;
    Open();
    EXPECT_EQ(Window().SpeedSlider().value(), 0);
    Window().done(QDialog::Rejected);
    EXPECT_EQ(Window().m_settings.m_nScrollSpeed, 32000);
}
TEST_F(ControlWindowLayout, FocusStartsOnTheSpeedSlider)
{
    Open();
    Window().activateWindow();
    EXPECT_EQ(Window().focusWidget(), &Window().SpeedSlider());
}

TEST_F(ControlWindowLayout, EditorShowsTheColoursAndFontOfTheSettings)
{
    Create();
    Window().m_settings.m_crBack = 0x00336699;
    Window().m_settings.m_crText = 0x000000FF;
    Window().m_settings.m_strFontName = QStringLiteral("DejaVu Serif");
    Window().m_settings.m_nFontSize = 240;
    Open();
    EXPECT_EQ(Editor().palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(Editor().palette().color(QPalette::Text), QColor(0xFF, 0, 0));
    EXPECT_EQ(Editor().font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Editor().font().pointSizeF(), 24.0);
    Window().ApplyEditorFont(700);
    EXPECT_EQ(Editor().font().weight(), QFont::Bold);
    // Only 31 characters of a face name are kept.
    Window().m_settings.m_strFontName = QString(40, QLatin1Char('x'));
    Window().ApplyEditorFont(0);
    EXPECT_EQ(Editor().font().family().size(), 31);
}
TEST_F(ControlWindowLayout, AMissingOrUnnamedLastScriptIsReportedAndTheWindowOpensEmpty)
{
    for (const QString& path : {PathOf("script.txt"), QString()}) {
        SCOPED_TRACE(path.toStdString());
        m_window.reset();
        m_dialogs.messages.clear();
        Create();
        Window().m_settings.m_strMRF = path;
        Open();
        ASSERT_EQ(m_dialogs.messages.size(), 1u);
        EXPECT_EQ(m_dialogs.messages[0].text,
                  QStringLiteral("There was a problem opening the file ") + path +
                      QStringLiteral("."));
        EXPECT_EQ(m_dialogs.messages[0].caption, ApplicationTitle());
        EXPECT_EQ(m_dialogs.messages[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(m_dialogs.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(Editor().Text(), QByteArray());
        EXPECT_EQ(Window().FileLabel().text(), QStringLiteral("FILE: "));
        EXPECT_EQ(Window().m_settings.m_strMRF, path);
        EXPECT_TRUE(Window().m_strFileName.isEmpty());
    }
}
