#pragma once

#include "FakeDialogService.h"
#include "TempDir.h"
#include "VellorApp.h"
#include "VellorDlg.h"

#include <QApplication>
#include <QTimer>

#include <functional>

// Runs the application against a settings file and default script in a
// temporary folder; the test acts in the control window while it is open.
class AppFixture : public TempDirTest
{
  protected:
    QString SettingsPath() const { return PathOf(QStringLiteral("vellor.ini")); }
    QString DefaultScript() const { return PathOf(QStringLiteral("vellor.txt")); }

    // Starts the application; `whileOpen` runs once the control window's loop
    // has begun, and the window is closed afterwards if it is still open.
    bool Run(const std::function<void(CVellorDlg&)>& whileOpen)
    {
        CVellorApp app(SettingsPath(), DefaultScript());
        m_app = &app;
        QTimer::singleShot(0, [this, &whileOpen] {
            CVellorDlg* window = OpenWindow();
            if (!window)
                return;
            settingsExistedWhileOpen = QFile::exists(SettingsPath());
            whileOpen(*window);
            if (window->isVisible())
                window->done(QDialog::Rejected);
        });
        const bool result = app.InitInstance(m_dialogs);
        record = app.Record();
        m_app = nullptr;
        return result;
    }

    static CVellorDlg* OpenWindow()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<CVellorDlg*>(widget); window && window->isVisible())
                return window;
        }
        return nullptr;
    }

    QByteArray SettingsFile() const { return ReadBytes(QStringLiteral("vellor.ini")); }

    FakeDialogService m_dialogs;
    CVellorApp* m_app = nullptr; // the application while Run runs it
    Settings record;
    bool settingsExistedWhileOpen = false;
};
