#pragma once

#include "../core/EngineFixture.h"
#include "DisplayDevice.h"
#include "PrompterWindow.h"
#include "ScrollRunState.h"
#include "TextRaster.h"
#include "TickSource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The run records in their program-start state with a short script and a
// small font, a tick counter that the test moves, and helpers to act while
// a run's loop is going: a list of actions, each done once its condition
// holds, checked at every turn of the loop.
class PrompterRunFixture : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
        g_runParams.scriptText = NumberedScript(40);
        g_runParams.lineCount = 40;
        g_runParams.textColor = 0x000000;
        g_runParams.backColor = 0xFFFFFF;
        g_runParams.speedValue = 1;
        g_runParams.controlMode = SpeedControlMode::MouseWheel;
        CreatePrompterFont(QStringLiteral("DejaVu Sans"), 24, 400);
        m_ticks = std::make_unique<ScopedTickSource>([this] {
            ++tickReads;
            if (stepBudget > 0) {
                --stepBudget;
                tickNow += 1'000'000;
            }
            return tickNow;
        });
    }

    void TearDown() override
    {
        m_ticks.reset();
        g_runParams = ScrollRunParams{};
        g_runState = ScrollRunState{};
    }

    // Adds an action done once, at the first turn of a run's loop when
    // ready() holds and every earlier action is done.
    void Then(std::function<bool()> ready, std::function<void()> action)
    {
        m_script.push_back({std::move(ready), std::move(action)});
    }
    void Then(std::function<void()> action)
    {
        Then([] { return true; }, std::move(action));
    }

    // Starts the scripted actions; they run inside the run's event dispatch,
    // checked every millisecond so that the loop has idle passes between.
    // A safety net stops the run if the script gets stuck.
    void ArmScript()
    {
        m_driver = std::make_unique<QTimer>();
        m_driver->setTimerType(Qt::PreciseTimer);
        m_driver->setInterval(1);
        m_clock.start();
        QObject::connect(m_driver.get(), &QTimer::timeout, [this] {
            if (m_next < m_script.size() && m_script[m_next].ready()) {
                auto action = m_script[m_next++].action;
                action();
            }
            if (m_clock.elapsed() > 20'000) {
                stuck = true;
                g_runState.running = false;
            }
        });
        m_driver->start();
    }

    bool ScriptDone() const { return m_next == m_script.size(); }

    QWidget* Window() const { return g_runState.prompterWindow; }

    void SendWheel(int delta)
    {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, at, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Window(), &wheel);
    }

    void SendMouseMove(int x, int y)
    {
        const QPointF at(x, y);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Window(), &move);
    }

    // The counter moves on by a million ticks at a read only while the budget
    // lasts, so at a speed value of 1 to 1000 exactly stepBudget more steps
    // are taken; at speed value 0 every unpaused pass steps regardless.
    std::uint64_t tickNow = 0;
    long stepBudget = 0; // steps still allowed
    int tickReads = 0;   // one per unpaused pass
    bool stuck = false;  // the safety net ended the run

  private:
    struct Action {
        std::function<bool()> ready;
        std::function<void()> action;
    };
    std::vector<Action> m_script;
    std::size_t m_next = 0;
    QElapsedTimer m_clock;
    std::unique_ptr<QTimer> m_driver;
    std::unique_ptr<ScopedTickSource> m_ticks;
};
