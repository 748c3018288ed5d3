#include "PrompterStatus.h"

PrompterStatus CurrentPrompterStatus()
{
    PrompterStatus status;
    status.running = g_runState.running;
    status.paused = g_runState.paused;
    status.direction = g_runState.direction;
    status.speedValue = g_runState.speedValue;
    status.lineIndex = g_runState.lineIndex;
    status.lineCount = g_runParams.lineCount;
    return status;
}
