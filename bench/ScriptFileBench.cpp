// How long a 20 MB script takes to open into the editor and to be saved back:
// the file read, the decoding, the setting into the editor, the editor's text
// as bytes, and the atomic save, each on its own and all together; and how
// long counting its displayed lines then takes. The editor is shown and empty
// before each opening, as the control window's editor is when the operator
// opens a script after starting.
#include "ScriptEditor.h"
#include "ScriptEncoding.h"
#include "ScriptFile.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

constexpr qsizetype kScriptBytes = 20 * 1024 * 1024;

// A script of short CR LF lines, the shape an operator's script has.
QByteArray MakeScript(const QByteArray& line)
{
    QByteArray script;
    script.reserve(kScriptBytes + line.size());
    while (script.size() < kScriptBytes)
        script.append(line);
    return script;
}

// The script in Windows-1252, as most operators' scripts are stored.
QByteArray MakeScript()
{
    return MakeScript("Good evening, here is the news from the caf\xE9 \x93"
                      "downtown\x94.\r\n");
}

QByteArray MakeUtf8Script()
{
    return MakeScript("Good evening, here is the news from the caf\xC3\xA9 \xE2\x80\x9C"
                      "downtown\xE2\x80\x9D.\r\n");
}

// A shown editor of the control window's editor size, emptied outside the timing.
class ShownEditor
{
  public:
    ShownEditor()
    {
        m_editor.resize(300, 200);
        m_editor.show();
        QApplication::processEvents();
    }
    ScriptEditor& Editor() { return m_editor; }
    void Empty(benchmark::State& state) { SetOutsideTiming(state, {}); }
    void SetOutsideTiming(benchmark::State& state, const QByteArray& text)
    {
        state.PauseTiming();
        m_editor.SetText(text);
        QApplication::processEvents();
        state.ResumeTiming();
    }

  private:
    ScriptEditor m_editor;
};

// One temporary folder holding the script file for every benchmark.
class ScriptFixture
{
  public:
    ScriptFixture() : m_path(m_dir.filePath("script.txt"))
    {
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly))
            file.write(MakeScript());
    }
    const QString& Path() const { return m_path; }

  private:
    QTemporaryDir m_dir;
    QString m_path;
};

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return {};
    return ReadScriptFile(file).value_or(QByteArray());
}

void BM_ReadScriptFile(benchmark::State& state)
{
    const ScriptFixture fixture;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadFile(fixture.Path()));
}
BENCHMARK(BM_ReadScriptFile)->Unit(benchmark::kMillisecond);

void BM_DecodeWindows1252Script(benchmark::State& state)
{
    const QByteArray text = MakeScript();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeScriptText(text));
}
BENCHMARK(BM_DecodeWindows1252Script)->Unit(benchmark::kMillisecond);

void BM_DecodeUtf8Script(benchmark::State& state)
{
    const QByteArray text = MakeUtf8Script();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeScriptText(text));
}
BENCHMARK(BM_DecodeUtf8Script)->Unit(benchmark::kMillisecond);

void BM_SetTextIntoEditor(benchmark::State& state)
{
    const ScriptFixture fixture;
    const QByteArray text = ReadFile(fixture.Path());
    ShownEditor shown;
    for (auto _ : state) {
        shown.Empty(state);
        shown.Editor().SetText(text);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SetTextIntoEditor)->Unit(benchmark::kMillisecond);

// The count of displayed lines the scroll command starts with, which lays out
// every paragraph of the opened script at the editor's width.
void BM_LineCountOfOpenedScript(benchmark::State& state)
{
    const ScriptFixture fixture;
    const QByteArray text = ReadFile(fixture.Path());
    ShownEditor shown;
    for (auto _ : state) {
        shown.SetOutsideTiming(state, text);
        benchmark::DoNotOptimize(shown.Editor().LineCount());
    }
}
BENCHMARK(BM_LineCountOfOpenedScript)->Unit(benchmark::kMillisecond);

void BM_EditorTextAsBytes(benchmark::State& state)
{
    const ScriptFixture fixture;
    ScriptEditor editor;
    editor.SetText(ReadFile(fixture.Path()));
    for (auto _ : state)
        benchmark::DoNotOptimize(editor.Text());
}
BENCHMARK(BM_EditorTextAsBytes)->Unit(benchmark::kMillisecond);

void BM_SaveScriptFileAtomically(benchmark::State& state)
{
    const ScriptFixture fixture;
    const QByteArray text = ReadFile(fixture.Path());
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveScriptFileAtomically(fixture.Path(), text, true));
}
BENCHMARK(BM_SaveScriptFileAtomically)->Unit(benchmark::kMillisecond);

// The whole Open then Save of an unchanged script; the saved file must be the
// file that was opened.
void BM_OpenIntoEditorAndSaveBack(benchmark::State& state)
{
    const ScriptFixture fixture;
    const QByteArray original = MakeScript();
    ShownEditor shown;
    for (auto _ : state) {
        shown.Empty(state);
        shown.Editor().SetText(ReadFile(fixture.Path()));
        QApplication::processEvents();
        if (!SaveScriptFileAtomically(fixture.Path(), shown.Editor().Text(), true))
            state.SkipWithError("the save failed");
    }
    QFile saved(fixture.Path());
    if (!saved.open(QIODevice::ReadOnly) || saved.readAll() != original)
        state.SkipWithError("the saved file differs from the opened one");
    state.SetBytesProcessed(state.iterations() * original.size());
}
BENCHMARK(BM_OpenIntoEditorAndSaveBack)->Unit(benchmark::kMillisecond);

} // namespace
