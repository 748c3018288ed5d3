#pragma once

#include "ColorRef.h"
#include "GlassLayout.h"
#include "GlassOverlay.h"
#include "PaceMeter.h"
#include "PreviousParagraph.h"
#include "ReadingCue.h"
#include "ScreenOutputs.h"
#include "ScriptText.h"
#include "StoryNumber.h"
#include "VoiceSettings.h"

#include <QFont>
#include <QPointer>
#include <QScreen>
#include <QString>

#include <chrono>
#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class Surface;

// The engine's vocabulary and its one program-wide state. The engine keeps
// its state in these plain records and works on them with free operations;
// everything here is touched only by the user-interface thread.

// Where and how the prompter image is shown; chosen in the control window.
enum class DisplayFormat {
    Mon1Fwd, // primary display, right-reading
    Mon1Rev, // primary display, mirror-reversed
    Mon2Fwd, // secondary display, right-reading
    Mon2Rev, // secondary display, mirror-reversed
};

// How the mouse changes the speed during a run.
enum class SpeedControlMode {
    MousePosition, // vertical mouse movement
    MouseWheel,    // wheel notches
};

// The way the text moves.
enum class ScrollDirection {
    Forward = 0,  // text moves up, later lines enter at the bottom
    Backward = 1, // text moves down, earlier lines enter at the top
};

// What the scroll command hands the engine before a run starts.
struct ScrollRunParams {
    ScriptText scriptText;  // every editor line, each followed by CR LF
    int lineCount = 0;      // number of lines in scriptText
    ColorRef textColor = 0; // colour of the prompter text
    ColorRef backColor = 0; // colour of the prompter background
    QString fontFace;       // face of the prompter font, at most 31 characters
    int fontPoints = 0;     // prompter font size in whole points
    int fontWeight = 0;     // prompter font weight (400)
    int speedValue = 0;     // starting speed value, 0 (fastest) .. 32000
    SpeedControlMode controlMode = SpeedControlMode::MousePosition; // live speed control
    bool mirror = false;                                            // mirror-reversed reading
    bool useMonitor2 = false; // show the run on the secondary display
    ReadingCue readingCue;    // the mark where the talent reads; off unless chosen
    GlassLayout glass;        // margin, countdown and clock; all off unless chosen
    // The operator may use the program's other windows during the run: only
    // losing the activation to another program ends it.
    bool liveEdit = false;
    // The control window's screen: a run on another screen shows the
    // operator a preview there. None: no preview.
    QPointer<QScreen> operatorScreen;
    // The time of day the script is to end by, in seconds from midnight
    // ([Prompter] EndAt); the preview's back-time. None: no back-time.
    std::optional<int> endAtSecond;
    // The screens that show the run beside the main output ([Outputs]).
    OutputChoices outputs;
    // The run follows another prompter, which moves it; its keys only end it.
    bool followsLeader = false;
    // Following the speaker's voice ([Voice]); off unless chosen.
    VoiceSettings voice;
};

// A follower's link to the prompter it follows.
enum class FollowState {
    Off,    // this prompter follows none
    InStep, // it hears its leader
    Lost,   // it has lost its leader and goes on at the last pace
};

// What the operator has put on the glass for the presenter.
struct PresenterMessage {
    QString text;                                               // empty: none
    std::optional<std::chrono::steady_clock::time_point> until; // none: until cleared
};

// The live state of the scroll run. Fields outlive a run unless the start
// of a run resets them.
struct ScrollRunState {
    bool running = false;                                 // the run's loop goes on while true
    bool paused = false;                                  // no scrolling while true
    ScrollDirection direction = ScrollDirection::Forward; // the way the text moves
    bool directionChangeRequested = false; // a direction change waits for the next step
    int speedValue = 0;                    // live speed value, 0..32000
    std::int64_t stepInterval = 0;         // speedValue * 1000 ticks between steps
    std::uint64_t lastStepTime = 0;        // tick count at the last step
    int lastMouseY = 0;                    // previous mouse y (an unsigned 16-bit value)
    int textPos = 0;                       // forward: offset in scriptText of line lineIndex
    int lineIndex = 0;                     // next line to draw into the strip
    int stripRow = 0;       // strip row to copy next (forward), one more than it (backward)
    int lineHeight = 0;     // height of one line in pixels, measured once per run
    std::string lineBuffer; // the line being drawn
    // Entry k holds the offset in scriptText of line k. It grows with the
    // script, so a script of any length fits.
    std::vector<int> LineStartTable;

    // The time the text has spent moving in this run: what was counted up
    // to movingSince, and since then while it is moving.
    std::chrono::steady_clock::duration timeMoved{};
    std::optional<std::chrono::steady_clock::time_point> movingSince;
    // While the glass counts down to the run's first movement: when it ends.
    std::optional<std::chrono::steady_clock::time_point> countdownEnds;
    PresenterMessage message;       // kept from one run to the next
    std::uint64_t glassChanges = 0; // grows when the message or the countdown changes
    // When the text first moved in this run.
    std::optional<std::chrono::steady_clock::time_point> firstMoved;
    // The rows a second the run really moves.
    PaceMeter pace;
    // Grows with every change of the run's script but its growing, and with
    // every run, so that followers know to take it afresh.
    std::uint64_t scriptEdits = 0;
    FollowState followState = FollowState::Off;

    // The story number being typed at the prompter.
    StoryNumberEntry typedStory;
    // The line being read when last noted (NoteLineRead), and the paragraph
    // it last came to at its first line, for Page Up.
    int lineRead = INT_MIN;
    std::optional<ParagraphArrival> paragraphArrival;
    // The first lines of the paragraphs among the first linesSeen lines of
    // the run's script (Paragraphs.h), found as they are asked for.
    struct ParagraphIndex {
        std::vector<int> starts;
        int linesSeen = 0;
    } paragraphs;

    // Grows with every jump to a line, whoever asks for it.
    std::uint64_t jumps = 0;
    // What the voice follower is doing, and why it stopped when it could not go on.
    VoiceState voice = VoiceState::Off;
    QString voiceProblem;

    QWidget* prompterWindow = nullptr;   // the run's full-screen window, while it exists
    Surface* primarySurface = nullptr;   // the visible image, owned by the display device
    Surface* offscreenSurface = nullptr; // initial image, then the line strip
    Surface* mirrorSurface = nullptr;    // work surface of mirror-reversed runs, else null
    std::optional<QFont> prompterFont;   // from CreatePrompterFont, kept until the next run
    // What the presenter draws over the picture (the reading cue, the
    // glass's texts) while the display is open; it outlives the display device.
    std::unique_ptr<GlassOverlay> overlay;
};

// The program's one set of run parameters.
extern ScrollRunParams g_runParams;
// The program's one run state.
extern ScrollRunState g_runState;

// Puts the motion in the state every run starts in: paused, forward, with
// no direction change pending, nothing moved yet, no pace measured, no
// story number typed, no paragraph come to or counted yet, and the script
// counted as new for followers. The caller then clamps the speed.
void ResetMotionForNewRun();

// Records offset as the start of line k, growing the table as needed.
void SetLineStart(int k, int offset);

// The recorded start of line k; the end of the script for an entry that
// was never recorded, so a read can never leave the text.
int LineStart(int k);
