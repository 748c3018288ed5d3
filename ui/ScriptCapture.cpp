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
        // Each line is encoded on its own, the way the prompter decodes it.
        const QByteArray line =
            EncodeScriptText(editor.Line(i, kMaxCapturedLine), editor.Encoding());
        script.text.append(line.constData(), static_cast<std::size_t>(line.size()));
        script.text += "\r\n";
    }
    return script;
}
