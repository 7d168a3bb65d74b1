// A colour scheme for the test process: the system colours of a high-contrast scheme set with
// SetSysColors, and the previous colours put back when the object goes. Wine keeps the colours for the
// whole session, so only programs with a prefix of their own (the scale runs) should change them.
#pragma once

#include <windows.h>

#include <vector>

enum class HighContrast { kBlack, kWhite };

class ColourScheme {
public:
    explicit ColourScheme(HighContrast scheme);
    ~ColourScheme();
    ColourScheme(const ColourScheme &) = delete;
    ColourScheme &operator=(const ColourScheme &) = delete;

    bool Ok() const { return m_ok; }

private:
    std::vector<int> m_elements;
    std::vector<COLORREF> m_previous;
    bool m_ok = false;
};
