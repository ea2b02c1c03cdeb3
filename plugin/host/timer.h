#pragma once

class CTimer {
public:
    /// Host game clock in milliseconds; wraps at 2^32.
    static unsigned int m_snTimeInMilliseconds;
};
