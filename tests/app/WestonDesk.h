#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A Wayland desk with two outputs for the length of a test, on Debian's
// weston: its headless backend has a single output, so a second weston runs
// nested in it with two, drawing in software. Screenshots are allowed.
class WestonDesk
{
  public:
    /// Starts both compositors; Problem() tells why, when they did not start.
    WestonDesk();
    /// Ends both compositors.
    ~WestonDesk();

    /// Empty when the desk is up; otherwise a line saying what is missing.
    QString Problem() const { return m_problem; }

    /// The environment of a Qt program that runs on the desk's outputs.
    QProcessEnvironment ClientEnvironment() const;

  private:
    bool Start(QProcess& weston, const QString& socket, const QStringList& arguments,
               const QProcessEnvironment& environment);

    QTemporaryDir m_runtime; // the compositors' sockets, private to us as Wayland wants
    QProcess m_outer;
    QProcess m_inner;
    QString m_problem;
};
