// How long a 20 MB script takes to open into the editor and to be saved back:
// the file read, the decoding into the editor, the editor's text as bytes,
// and the atomic save, each on its own and all together.
#include "ScriptEditor.h"
#include "ScriptFile.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

constexpr qsizetype kScriptBytes = 20 * 1024 * 1024;

// A Windows-1252 script of short CR LF lines, the shape an operator's script has.
QByteArray MakeScript()
{
    const QByteArray line = "Good evening, here is the news from the caf\xE9 \x93"
                            "downtown\x94.\r\n";
    QByteArray script;
    script.reserve(kScriptBytes + line.size());
    while (script.size() < kScriptBytes)
        script.append(line);
    return script;
}

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

void BM_SetTextIntoEditor(benchmark::State& state)
{
    const ScriptFixture fixture;
    const QByteArray text = ReadFile(fixture.Path());
    ScriptEditor editor;
    editor.resize(300, 200);
    editor.show();
    for (auto _ : state) {
        editor.SetText(text);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SetTextIntoEditor)->Unit(benchmark::kMillisecond);

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
    ScriptEditor editor;
    editor.resize(300, 200);
    editor.show();
    for (auto _ : state) {
        editor.SetText(ReadFile(fixture.Path()));
        QApplication::processEvents();
        if (!SaveScriptFileAtomically(fixture.Path(), editor.Text(), true))
            state.SkipWithError("the save failed");
    }
    QFile saved(fixture.Path());
    if (!saved.open(QIODevice::ReadOnly) || saved.readAll() != original)
        state.SkipWithError("the saved file differs from the opened one");
    state.SetBytesProcessed(state.iterations() * original.size());
}
BENCHMARK(BM_OpenIntoEditorAndSaveBack)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
