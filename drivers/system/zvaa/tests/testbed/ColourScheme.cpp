#include "testbed/ColourScheme.h"

namespace {
struct SchemeColour {
    int element;
    COLORREF black, white;  // in "High Contrast Black" and "High Contrast White"
};
constexpr SchemeColour kColours[] = {
    {COLOR_WINDOW, RGB(0, 0, 0), RGB(255, 255, 255)},
    {COLOR_WINDOWTEXT, RGB(255, 255, 255), RGB(0, 0, 0)},
    {COLOR_BTNFACE, RGB(0, 0, 0), RGB(255, 255, 255)},
    {COLOR_BTNTEXT, RGB(255, 255, 255), RGB(0, 0, 0)},
    {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255), RGB(0, 0, 0)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128), RGB(128, 128, 128)},
    {COLOR_3DDKSHADOW, RGB(255, 255, 255), RGB(0, 0, 0)},
    {COLOR_3DLIGHT, RGB(192, 192, 192), RGB(192, 192, 192)},
    {COLOR_GRAYTEXT, RGB(0, 255, 0), RGB(96, 0, 0)},
    {COLOR_HIGHLIGHT, RGB(128, 0, 128), RGB(0, 0, 0)},
    {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255), RGB(255, 255, 255)},
    {COLOR_ACTIVECAPTION, RGB(128, 0, 128), RGB(0, 0, 0)},
    {COLOR_CAPTIONTEXT, RGB(255, 255, 255), RGB(255, 255, 255)},
    {COLOR_INACTIVECAPTION, RGB(0, 128, 0), RGB(255, 255, 255)},
    {COLOR_INACTIVECAPTIONTEXT, RGB(255, 255, 255), RGB(0, 0, 0)},
    {COLOR_WINDOWFRAME, RGB(255, 255, 255), RGB(0, 0, 0)},
};
}  // namespace

ColourScheme::ColourScheme(HighContrast scheme) {
    std::vector<COLORREF> colours;
    for (const SchemeColour &c : kColours) {
        m_elements.push_back(c.element);
        m_previous.push_back(GetSysColor(c.element));
        colours.push_back(scheme == HighContrast::kBlack ? c.black : c.white);
    }
    m_ok = SetSysColors(static_cast<int>(m_elements.size()), m_elements.data(), colours.data()) != FALSE;
}

ColourScheme::~ColourScheme() {
    SetSysColors(static_cast<int>(m_elements.size()), m_elements.data(), m_previous.data());
}
