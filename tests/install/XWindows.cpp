#include "XWindows.h"

#include <cstdlib>
#include <cstring>

namespace
{

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> Owned<Reply> Take(Reply* reply)
{
    return Owned<Reply>(reply, &std::free);
}

} // namespace

XWindows::XWindows() : m_connection(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(m_connection.get()))
        m_connection.reset();
    else
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection.get())).data->root;
}

bool XWindows::Connected() const
{
    return m_connection != nullptr;
}

xcb_atom_t XWindows::Atom(const char* name) const
{
    const auto reply = Take(xcb_intern_atom_reply(
        m_connection.get(),
        xcb_intern_atom(m_connection.get(), 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::optional<xcb_window_t> XWindows::Shown(const std::string& title) const
{
    xcb_connection_t* c = m_connection.get();
    const auto tree = Take(xcb_query_tree_reply(c, xcb_query_tree(c, m_root), nullptr));
    if (!tree)
        return std::nullopt;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto attributes = Take(
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const auto name =
            Take(xcb_get_property_reply(c,
                                        xcb_get_property(c, 0, children[i], XCB_ATOM_WM_NAME,
                                                         XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                                        nullptr));
        if (!name)
            continue;
        const std::string shown(
            static_cast<const char*>(xcb_get_property_value(name.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(name.get())));
        if (shown == title)
            return children[i];
    }
    return std::nullopt;
}

void XWindows::Close(xcb_window_t window) const
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom("WM_PROTOCOLS");
    message.data.data32[0] = Atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection.get(), 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection.get());
}
