#include "ScriptCapture.h"

#include "ScriptEditor.h"
#include "ScriptEncoding.h"

namespace {

// The longest part of one displayed line that reaches the prompter.
constexpr int kMaxCapturedLine = 99;

} // namespace

CapturedScript CaptureScript(const ScriptEditor& editor)
{
    CapturedScript script;
    script.lineCount = editor.LineCount();
    for (int i = 0; i < script.lineCount; ++i) {
        // The prompter reads each line as UTF-8 when it can; a Windows-1252
        // line whose bytes happened to form UTF-8 would show other letters.
        const QByteArray line = EncodeScriptText(editor.Line(i, kMaxCapturedLine),
                                                 ScriptEncoding::Utf8);
        script.text.append(line.constData(), static_cast<std::size_t>(line.size()));
        script.text += "\r\n";
    }
    return script;
}
