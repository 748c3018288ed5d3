#pragma once

#include "FakeDialogService.h"
#include "MySliderControl.h"
#include "ResourceIds.h"
#include "ScriptEditor.h"
#include "TempDir.h"
#include "VellorDlg.h"
#include "XButton.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// A control window opened the way the application opens it: values handed
// over, then the start steps, with its messages answered by the test.
class ControlWindowFixture : public TempDirTest
{
  protected:
    // Makes the window and hands it the values a first start would.
    void Create()
    {
        m_window = std::make_unique<CVellorDlg>(m_dialogs);
        CVellorDlg& w = *m_window;
        w.m_settings.m_strMRF = PathOf(QStringLiteral("script.txt"));
        w.m_settings.m_crBack = 0x00FFFFFF;
        w.m_settings.m_crText = 0;
        w.m_settings.m_strFontName = QStringLiteral("DejaVu Sans");
        w.m_settings.m_nFontSize = 120;
        w.m_settings.m_bUseMouse = false;
        w.m_settings.m_bRightReading = false;
        w.m_settings.m_nScrollSpeed = 80;
        w.m_settings.m_nCPUSpeed = 2;
    }

    // Creates the window if needed and runs its start steps.
    void Open()
    {
        if (!m_window)
            Create();
        m_window->OnInitDialog();
        // Its shortcuts, as any window's, act while it is the active window.
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }

    CVellorDlg& Window() const { return *m_window; }
    ScriptEditor& Editor() const { return m_window->Editor(); }
    CXButton& Box(int id) const { return *m_window->Button(id); }
    bool Checked(int id) const { return m_window->Button(id)->IsChecked(); }

    // Types `key` with `modifiers` into the editor and reports whether command `id` ran.
    bool TypedRuns(Qt::Key key, Qt::KeyboardModifiers modifiers, int id)
    {
        QSignalSpy triggered(m_window->CommandAction(id), &QAction::triggered);
        QTest::keyClick(&Editor(), key, modifiers);
        return triggered.count() == 1;
    }

    FakeDialogService m_dialogs;
    std::unique_ptr<CVellorDlg> m_window;
};
