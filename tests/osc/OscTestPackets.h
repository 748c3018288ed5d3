// OSC messages as a client would send them, for the tests.
#pragma once

#include "OscPacket.h"

#include <vector>

inline QByteArray OscBytes(const char* path, std::vector<OscArgument> arguments = {})
{
    return EncodeOscMessage({path, std::move(arguments)});
}
