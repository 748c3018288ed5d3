#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <optional>
#include <string>

// The windows of another program on the X display, as a person sees them:
// which are shown under which title, and the close box. Another process's
// windows are out of Qt's reach, so this speaks X directly.
class XWindows
{
  public:
    /// A connection to $DISPLAY; Connected() tells whether it was made.
    XWindows();

    bool Connected() const;

    /// A shown top-level window whose title is `title`, if there is one.
    std::optional<xcb_window_t> Shown(const std::string& title) const;

    /// Asks `window` to close, as its close box does.
    void Close(xcb_window_t window) const;

  private:
    xcb_atom_t Atom(const char* name) const;

    struct Disconnect {
        void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
    };
    std::unique_ptr<xcb_connection_t, Disconnect> m_connection;
    xcb_window_t m_root = 0;
};
