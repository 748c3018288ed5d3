#pragma once

#include <string>

class ScriptEditor;

// What a scroll run shows: the editor's lines as it displays them, so a
// wrapped paragraph gives one prompter line per displayed line.
struct CapturedScript {
    std::string text;  ///< each line's first 99 characters, each followed by CR LF
    int lineCount = 0; ///< the number of lines taken: every displayed line
};

/// Captures every displayed line of `editor`, at most 99 characters of each,
/// as UTF-8, each followed by CR LF.
CapturedScript CaptureScript(const ScriptEditor& editor);
