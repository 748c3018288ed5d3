#include "VellorDlg.h"

#include "DialogFont.h"
#include "DialogUnits.h"
#include "FaceName.h"
#include "FaceStandIn.h"
#include "HelpWindow.h"
#include "MySliderControl.h"
#include "ResourceIds.h"
#include "RunScriptLink.h"
#include "ScriptEditor.h"
#include "ScriptFile.h"
#include "ScrollRunState.h"
#include "Settings.h"
#include "SpeedValue.h"
#include "TransparentStatic.h"
#include "XButton.h"

#include <QFrame>
#include <QLayout>

#include <algorithm>
#include <array>
#include <optional>

namespace
{

constexpr ColorRef kWhite = 0x00FFFFFF;
constexpr ColorRef kBlue = 0x00FF0000;
constexpr ColorRef kDarkBlue = 0x009B0000;
constexpr QColor kPanelGray(128, 128, 128);
// A face name fills at most 31 characters of the platform's 32-byte field.

enum class Kind { Button, CheckBox, Label, GrayRect, EtchedLine, Slider, Editor };

// One control of dialog template 102, in tab order; positions in dialog units.
struct TemplateControl {
    int id;
    Kind kind;
    const char* text;
    int x, y, width, height;
    bool hidden;
};

const std::array<TemplateControl, 25> kTemplate{{
    {Ids::kSpeedSlider, Kind::Slider, "", 253, 130, 145, 15, false},
    {Ids::kFontButton, Kind::Button, "Select &Font Type and Size", 296, 177, 45, 17, false},
    {Ids::kBackColorButton, Kind::Button, "Select &BkGnd Color", 235, 178, 45, 17, false},
    {Ids::kScrollButton, Kind::Button, "SCROLL", 358, 177, 45, 19, false},
    {0, Kind::GrayRect, "", 7, 117, 200, 27, false},
    {Ids::kFileLabel, Kind::Label, "FILE: ", 10, 118, 195, 9, false},
    {Ids::kLoadFileButton, Kind::Button, "Load File", 100, 131, 49, 12, false},
    {Ids::kSaveFileButton, Kind::Button, "Save File", 154, 131, 50, 12, false},
    {Ids::kScrollSpeedControlLabel, Kind::Label, "Scroll Speed Control", 212, 250, 72, 9, false},
    {Ids::kScrollSpeedLabel, Kind::Label, "Scroll Speed", 302, 121, 40, 8, false},
    {Ids::kSlowLabel, Kind::Label, "Slow", 234, 132, 16, 8, false},
    {Ids::kFastLabel, Kind::Label, "Fast", 400, 132, 16, 8, false},
    {Ids::kDisplayFormatLabel, Kind::Label, "Display Format", 213, 209, 49, 9, false},
    {Ids::kMon1FwdCheck, Kind::CheckBox, "&Mon #1 Fwd", 271, 210, 61, 10, false},
    {Ids::kMon1RevCheck, Kind::CheckBox, "&Mon #1 Rev", 338, 210, 71, 10, false},
    {Ids::kMon2FwdCheck, Kind::CheckBox, "&Mon #2 Fwd", 271, 230, 61, 10, false},
    {Ids::kMon2RevCheck, Kind::CheckBox, "&Mon #2 Rev", 338, 230, 71, 10, false},
    {Ids::kMouseCheck, Kind::CheckBox, "&Mouse", 289, 251, 37, 10, false},
    {Ids::kMouseWheelCheck, Kind::CheckBox, "Mouse &Wheel", 339, 252, 59, 10, false},
    {Ids::kEditWindowLabel, Kind::Label, "Edit Window", 10, 132, 40, 8, false},
    {0, Kind::EtchedLine, "", 7, 128, 200, 1, false},
    {Ids::kMonitorsLabel, Kind::Label, "Monitors", 213, 250, 28, 8, true},
    {Ids::kEnableSecondaryCheck, Kind::CheckBox, "Enable Secondry Display", 309, 248, 94, 10, true},
    {Ids::kDisableSecondaryCheck, Kind::CheckBox, "Disable Secondry Display", 309, 261, 95, 10,
     true},
    {Ids::kScriptEditor, Kind::Editor, "", 7, 145, 200, 123, false},
}};

struct ToolTip {
    int id;
    const char* text;
};

const std::array<ToolTip, 3> kImageButtonTips{{
    {Ids::kFontButton, "Sets Font Style, Size and Color"},
    {Ids::kScrollButton, "Starts scrolling the text"},
    {Ids::kBackColorButton, "Sets Background Color"},
}};

const std::array<int, 3> kImageButtonIcons{Ids::kFontIcon, Ids::kScrollIcon,
                                           Ids::kBackgroundColorIcon};

const std::array<ToolTip, 2> kTextButtonTips{{
    {Ids::kLoadFileButton, "Loads a Text File for Editing"},
    {Ids::kSaveFileButton, "Saves Changes to Text File"},
}};

const std::array<ToolTip, 8> kCheckBoxTips{{
    {Ids::kMon1FwdCheck, "Selects Right-Reading Scroll"},
    {Ids::kMon1RevCheck, "Selects Reverse-Reading Scroll"},
    {Ids::kMon2FwdCheck, "Selects Right-Reading Scroll"},
    {Ids::kMon2RevCheck, "Selects Reverse-Reading Scroll"},
    {Ids::kMouseCheck, "Selects Mouse Movement Scroll Speed Control"},
    {Ids::kMouseWheelCheck, "Selects MouseWheel Scroll Speed Control"},
    {Ids::kEnableSecondaryCheck, "Enables the Secondary Display."},
    {Ids::kDisableSecondaryCheck, "Disables the Secondary Display."},
}};

struct LabelColor {
    int id;
    ColorRef color;
};

const std::array<LabelColor, 8> kLabelColors{{
    {Ids::kSlowLabel, kWhite},
    {Ids::kFastLabel, kWhite},
    {Ids::kDisplayFormatLabel, kBlue},
    {Ids::kMonitorsLabel, kBlue},
    {Ids::kScrollSpeedControlLabel, kBlue},
    {Ids::kEditWindowLabel, kWhite},
    {Ids::kFileLabel, kWhite},
    {Ids::kScrollSpeedLabel, kWhite},
}};

} // namespace

CVellorDlg::CVellorDlg(DialogService& dialogs, QWidget* parent)
    : CBgDialog(parent), m_dialogs(dialogs), m_hIcon(ImageResourcePath(Ids::kProgramIcon))
{
    // The desktop sizes of the program icon let the task bar and window
    // switcher show it sharp.
    for (const int size : {48, 64, 128, 256})
        m_hIcon.addFile(QStringLiteral(":/res/icon/vellor-%1.png").arg(size));
    setWindowTitle(QStringLiteral("Vellor Teleprompter Software"));
    // A fixed-size window with a minimise box and no maximise box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    CreateMenu();
    CreateControls();
    ConnectCommands();
}

CVellorDlg::~CVellorDlg() = default;

void CVellorDlg::CreateControls()
{
    QWidget* client = ClientArea();
    client->setFont(DialogFont());
    for (const TemplateControl& control : kTemplate) {
        const QString text = QString::fromLatin1(control.text);
        QWidget* widget = nullptr;
        switch (control.kind) {
        case Kind::Slider:
            m_slider = new CMySliderControl(client);
            widget = m_slider;
            break;
        case Kind::Button:
        case Kind::CheckBox: {
            auto* button = new CXButton(client, control.kind == Kind::CheckBox);
            button->setText(text);
            m_buttons.insert(control.id, button);
            widget = button;
            break;
        }
        case Kind::Label: {
            auto* label = new CTransparentStatic(client);
            label->setText(text);
            m_labels.insert(control.id, label);
            widget = label;
            break;
        }
        case Kind::GrayRect: {
            // The classic shadow grey: the white file label stays readable on it.
            auto* rect = new QFrame(client);
            QPalette palette = rect->palette();
            palette.setColor(QPalette::Window, kPanelGray);
            rect->setPalette(palette);
            rect->setAutoFillBackground(true);
            widget = rect;
            break;
        }
        case Kind::EtchedLine: {
            auto* line = new QFrame(client);
            line->setFrameShape(QFrame::HLine);
            line->setFrameShadow(QFrame::Sunken);
            widget = line;
            break;
        }
        case Kind::Editor:
            m_editor = new ScriptEditor(client);
            widget = m_editor;
            break;
        }
        widget->setGeometry(DluRect(control.x, control.y, control.width, control.height));
        widget->setHidden(control.hidden);
    }
    m_fileLabel = m_labels.value(Ids::kFileLabel);
    // Assistive technology names the slider and the editor by the labels the
    // operator reads beside them, and each button by its caption.
    m_slider->setAccessibleName(m_labels.value(Ids::kScrollSpeedLabel)->text());
    m_editor->setAccessibleName(m_labels.value(Ids::kEditWindowLabel)->text());
}

CXButton* CVellorDlg::Button(int id) const
{
    return m_buttons.value(id, nullptr);
}

void CVellorDlg::ConnectCommands()
{
    const auto onClick = [this](int id, void (CVellorDlg::*handler)()) {
        connect(Button(id), &CXButton::clicked, this, handler);
    };
    onClick(Ids::kFontButton, &CVellorDlg::OnTextFont);
    onClick(Ids::kBackColorButton, &CVellorDlg::OnBackgroundColor);
    onClick(Ids::kScrollButton, &CVellorDlg::OnScroll);
    onClick(Ids::kLoadFileButton, &CVellorDlg::OnFileOpen);
    onClick(Ids::kSaveFileButton, &CVellorDlg::OnFileSave);
    onClick(Ids::kMon1FwdCheck, &CVellorDlg::OnMon1FwdClicked);
    onClick(Ids::kMon1RevCheck, &CVellorDlg::OnMon1RevClicked);
    onClick(Ids::kMon2FwdCheck, &CVellorDlg::OnMon2FwdClicked);
    onClick(Ids::kMon2RevCheck, &CVellorDlg::OnMon2RevClicked);
    onClick(Ids::kMouseCheck, &CVellorDlg::OnMouseClicked);
    onClick(Ids::kMouseWheelCheck, &CVellorDlg::OnMouseWheelClicked);
    onClick(Ids::kEnableSecondaryCheck, &CVellorDlg::OnEnableSecondaryClicked);
    onClick(Ids::kDisableSecondaryCheck, &CVellorDlg::OnDisableSecondaryClicked);
}

int CVellorDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

void CVellorDlg::OnInitDialog()
{
    SetBackgroundBitmap(Ids::kSkinBitmap);
    EnableDragByBackground(true);
    FitClientToBitmap(true);
    // The controls sit at fixed places on a skin of one size, so the window
    // takes no other size and offers no border to drag.
    ClientArea()->setFixedSize(ClientArea()->size());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    InitImageButtons();
    InitTextButtons();
    InitCheckBoxes();
    InitSlider();
    InitLabels();
    // Linux window managers keep their own window menu, which a program
    // cannot extend; the about box is on the Help menu instead.
    setWindowIcon(m_hIcon);
    Editor().SetBackgroundColor(m_settings.m_crBack);
    ApplyEditorFont(0);
    LoadLastScript();
    RestoreRecoveredScript();
    SetInitialCheckStates();
    show();
    m_slider->setFocus(Qt::TabFocusReason);
}

void CVellorDlg::InitImageButtons()
{
    for (std::size_t i = 0; i < kImageButtonTips.size(); ++i) {
        CXButton* button = Button(kImageButtonTips[i].id);
        button->SetToolTipText(QString::fromLatin1(kImageButtonTips[i].text), true);
        button->SetIcons(kImageButtonIcons[i], CXButton::AutoGray);
        button->SizeToImage();
    }
}

void CVellorDlg::InitTextButtons()
{
    for (const ToolTip& tip : kTextButtonTips) {
        CXButton* button = Button(tip.id);
        button->ShiftStateColor(CXButton::BackHot, 100, true);
        button->SetToolTipText(QString::fromLatin1(tip.text), true);
        button->SetStateColor(CXButton::TextHot, kWhite, true);
        button->SetStateColor(CXButton::TextNormal, kWhite, true);
        button->SetStateColor(CXButton::BackHot, kDarkBlue, true);
        button->SetStateColor(CXButton::BackNormal, kDarkBlue, true);
        button->SetStateColor(CXButton::BackFocused, kDarkBlue, true);
        button->SetStateColor(CXButton::TextFocused, kWhite, true);
    }
}

void CVellorDlg::InitCheckBoxes()
{
    for (const ToolTip& tip : kCheckBoxTips) {
        CXButton* box = Button(tip.id);
        box->UseParentBackground(false);
        box->SetIcons(Ids::kCheckBoxCheckedIcon, Ids::kCheckBoxUncheckedIcon);
        box->ShiftStateColor(CXButton::BackHot, 30, true);
        box->SetToolTipText(QString::fromLatin1(tip.text), true);
        box->SetStateColor(CXButton::TextHot, kWhite, true);
        box->SetStateColor(CXButton::TextNormal, kWhite, true);
        box->SetStateColor(CXButton::TextFocused, kWhite, true);
    }
}

void CVellorDlg::InitSlider()
{
    m_slider->SetThumbColors(0, 0x00C4C4C4);
    m_slider->setRange(0, kSlowestSpeed);
    m_slider->setValue(SliderPositionOf(m_settings.m_nScrollSpeed));
    m_slider->SetTooltipText(QStringLiteral("Sets the Starting Scroll Speed"), true);
}

void CVellorDlg::InitLabels()
{
    for (const LabelColor& label : kLabelColors)
        m_labels.value(label.id)->SetTextColor(label.color);
    m_fileLabel->repaint();
}

void CVellorDlg::SetInitialCheckStates()
{
    Button(Ids::kMon1RevCheck)->SetChecked(!m_settings.m_bRightReading, true);
    Button(Ids::kMouseCheck)->SetChecked(m_settings.m_bUseMouse, true);
    Button(Ids::kMon1FwdCheck)->SetChecked(m_settings.m_bRightReading, true);
    Button(Ids::kMouseWheelCheck)->SetChecked(!m_settings.m_bUseMouse, true);
    // Every start is on monitor 1, whatever the previous run used.
    m_bMonitor2 = false;
    Button(Ids::kMon2FwdCheck)->SetChecked(false, true);
    Button(Ids::kMon2RevCheck)->SetChecked(false, true);
}

void CVellorDlg::LoadLastScript()
{
    const std::optional<QByteArray> text = ReadScriptForEditing(m_settings.m_strMRF);
    if (!text)
        return;
    m_strFileName = FileNameFromPath(m_settings.m_strMRF);
    ShowFileLabel();
    Editor().SetSelection(-1, -1);
    Editor().SetText(*text);
    m_strSavedText = Editor().Text();
}

void CVellorDlg::ApplyEditorFont(int weight)
{
    QFont font(m_settings.m_strFontName.left(kMaxFaceNameChars));
    font.setStyleHint(QFont::SansSerif);
    // A size of zero or less keeps the default size, as the platform's font
    // mapper does for a zero height.
    if (m_settings.m_nFontSize > 0)
        font.setPointSizeF(m_settings.m_nFontSize / 10.0);
    // Weights share one scale here and in Qt (400 normal, 700 bold); 0 means normal.
    if (weight > 0)
        font.setWeight(QFont::Weight(std::clamp(weight, 1, 1000)));
    m_font = WithStandInFaces(font);
    Editor().SetEditorFont(m_font);
    Editor().SetDefaultTextColor(m_settings.m_crText);
    // The editor's lines break anew; a live run takes them as they now are.
    if (m_liveRun)
        m_liveRun->TakeAgain();
}

void CVellorDlg::ShowFileLabel()
{
    m_fileLabel->setText(QStringLiteral("File: ") + m_strFileName);
    m_fileLabel->repaint();
}

void CVellorDlg::accept()
{ /* Enter never closes the control window. */
}

void CVellorDlg::reject()
{
    // During a live run Esc here ends the run, not the program.
    if (m_liveRun && g_runState.running)
        OnRunStop();
    else
        OnCancel();
}

void CVellorDlg::done(int result)
{
    QuitHelp(this);
    TakeValuesFromControls();
    CBgDialog::done(result);
}

void CVellorDlg::TakeValuesFromControls()
{
    m_settings.m_nScrollSpeed = kSlowestSpeed - m_slider->value();
    m_settings.m_bUseMouse = Button(Ids::kMouseCheck)->IsChecked();
}
