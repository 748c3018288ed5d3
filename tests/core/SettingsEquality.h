#pragma once

#include "Settings.h"

// Two settings are equal when every kept value is; tests compare what was saved
// with what comes back.
inline bool operator==(const Settings& a, const Settings& b)
{
    return a.m_strMRF == b.m_strMRF && a.m_crBack == b.m_crBack && a.m_crText == b.m_crText &&
           a.m_nScrollSpeed == b.m_nScrollSpeed && a.m_nCPUSpeed == b.m_nCPUSpeed &&
           a.m_bUseMouse == b.m_bUseMouse && a.m_bRightReading == b.m_bRightReading &&
           a.m_strFontName == b.m_strFontName && a.m_nFontSize == b.m_nFontSize;
}
