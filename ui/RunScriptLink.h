#pragma once

#include "ScrollRun.h"

#include <QObject>
#include <QTimer>

#include <chrono>

#include <vector>

class ScriptEditor;

// Keeps the script of a run what the editor holds while the run goes. The
// editor's paragraphs are taken in order as the run needs them, and each
// edit puts the lines of the paragraphs it changed into the run at once, so
// the next frame shows them; the rest of the script is not looked at again.
class RunScriptLink : public QObject
{
  public:
    /// Takes the run's script from `editor` (which must outlive this), at
    /// least `linesAtOnce` lines of it now, and follows its edits.
    RunScriptLink(const ScriptEditor& editor, int linesAtOnce);

    /// Brings in the paragraphs not taken yet, in the time the run's loop
    /// gives; none when every paragraph is taken.
    ScriptFeed Rest();

    /// The run's line that the editor's cursor is on.
    int CursorLine();

    /// Takes every paragraph again, after the editor's lines broke anew
    /// (its font or width changed), keeping the line being read on its row.
    void TakeAgain();

  private:
    void OnContentsChange(int position, int charsRemoved, int charsAdded);
    // Appends paragraphs from the first not taken to `text` until `enough`
    // says so, laid out anew when `justChanged`; answers the lines appended.
    template <class Text, class Enough>
    int TakeInto(Text& text, Enough enough, bool justChanged = false);
    // Takes paragraphs into the run's script until `enough` says so;
    // answers whether paragraphs remain.
    template <class Enough> bool TakeIntoRun(Enough enough);
    int LinesBefore(int block) const;
    // Takes paragraphs until `until`, at least one; answers whether any remain.
    bool TakeRestUntil(std::chrono::steady_clock::time_point until);

    const ScriptEditor& m_editor;
    std::vector<int> m_blockLines; // the lines of each paragraph taken so far
    int m_documentBlocks = 0;      // the editor's paragraphs, as of the last edit
    int m_linesAtOnce = 0;
    bool m_restTaken = false; // every paragraph is taken: the run's loop asks for no more
    QTimer m_lateRest;        // takes what an edit sent back once the loop stopped asking
};
