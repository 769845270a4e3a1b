#pragma once

// Windows made once at start are reached through a global pointer (FMain, FVeldra, ...).
// A member of this type sets the pointer when the window is made and clears it when the
// window goes; a second window of the kind (in tests) leaves the first one in place.
template<typename T> class SoleInstance
{
public:
    SoleInstance(T *&global, T *self)
        : m_global(global)
        , m_self(self)
    {
        if (!m_global)
            m_global = self;
    }
    ~SoleInstance()
    {
        if (m_global == m_self)
            m_global = nullptr;
    }
    SoleInstance(const SoleInstance &) = delete;
    SoleInstance &operator=(const SoleInstance &) = delete;

private:
    T *&m_global;
    T *m_self;
};
